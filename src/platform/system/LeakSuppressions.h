#pragma once

namespace plat::system {

/// The leak checker's suppressions for the system's own libraries, which keep allocations until the
/// process ends (D-Bus connections, GL and X drivers, sound servers) and would fail every sanitized run
/// on a desktop, or lose them on their own failure paths (the synthesizer's SoundFont reader drops the
/// instrument it was reading when a zone of a refused bank fails; our callbacks under it are counted
/// instead, SoftwareSynth::GetOpenBankCount). Each names a system library only: a leak whose allocation
/// passes through none of them, every leak of our own code among them, is still reported. The program and the
/// test programs hand it to the leak checker through __lsan_default_suppressions.
inline constexpr const char kSystemLibraryLeaks[] = "leak:libdbus-1.so\n"
                                                    "leak:libGLX\n"
                                                    "leak:libGL.so\n"
                                                    "leak:libGLdispatch.so\n"
                                                    "leak:libEGL\n"
                                                    "leak:_dri.so\n"
                                                    "leak:libgallium\n"
                                                    "leak:libLLVM\n"
                                                    "leak:libnvidia-\n"
                                                    "leak:libX11.so\n"
                                                    "leak:libxcb\n"
                                                    "leak:libpulse\n"
                                                    "leak:libasound.so\n"
                                                    "leak:libwayland-\n"
                                                    "leak:libfontconfig.so\n"
                                                    "leak:libfluidsynth.so\n";

} // namespace plat::system
