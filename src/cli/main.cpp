#include <cstdio>

int main() {
    std::puts("kubrell-cli: not yet");
    return 0;
}
