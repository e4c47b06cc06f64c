#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: quarrant-cli [--home DIR] eval|import|count|pick|report ...\n", stderr);
        return 2;
    }
    (void)argv;
    std::fputs("usage: quarrant-cli [--home DIR] eval|import|count|pick|report ...\n", stderr);
    return 2;
}
