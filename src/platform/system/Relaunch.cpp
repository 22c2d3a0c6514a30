#include "platform/system/Relaunch.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace plat::system {

bool ExecProgram(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    ::execv(program.c_str(), argv.data());
    std::fprintf(stderr, "relaunch: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return false;
}

bool RelaunchSelf(const std::vector<std::string>& args) {
    return ExecProgram("/proc/self/exe", args);
}

} // namespace plat::system
