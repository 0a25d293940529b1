#include <cstdio>
#include <cstring>
#include <string>

#include "app/commands.h"
#include "platform/text_mode.h"

namespace {

const char kUsage[] =
    "Usage: vetra [FILE.vt]\n"
    "       vetra --dump FILE.vt     print the tree of FILE as an outline\n"
    "       vetra --save-as IN.vt OUT.vt          save IN under the name OUT\n"
    "       vetra --export-node IN.vt PATH OUT.vt write the subtree at PATH (r, r.0.2) as OUT\n"
    "       vetra --help             show this text\n";

int usage(FILE* to, int status) {
    std::fputs(kUsage, to);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    vetra::chooseTextMode();
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) return usage(stdout, 0);
    if (argc >= 2 && std::strcmp(argv[1], "--dump") == 0) {
        if (argc != 3) return usage(stderr, 2);
        return vetra::runDump(argv[2]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--save-as") == 0) {
        if (argc != 4) return usage(stderr, 2);
        return vetra::runSaveAs(argv[2], argv[3]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--export-node") == 0) {
        if (argc != 5) return usage(stderr, 2);
        return vetra::runExportNode(argv[2], argv[3], argv[4]);
    }
    if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0) return usage(stderr, 2);
    // The editor window arrives with the interface; until then starting
    // without a command explains what the program can do.
    return usage(stdout, 0);
}
