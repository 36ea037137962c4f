#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "usage: vt350-cli COMMAND [ARGS]\n"
    "\n"
    "Label jobs for the Vt350 tube printer, without a window.\n"
    "\n"
    "commands:\n"
    "  --help    show this text\n";

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::fprintf(stderr, "vt350-cli: unknown command '%s' (see --help)\n", argv[1]);
    return 2;
}
