#include <cstdio>

int main() {
    std::puts("zentrix: the game's start-up is not built yet; run scripts/test to check what exists.");
    return 0;
}
