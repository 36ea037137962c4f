#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "usage: vt350-sim [OPTIONS]\n"
    "\n"
    "A virtual Vt350 tube printer on a pseudo-terminal.\n"
    "\n"
    "options:\n"
    "  --help    show this text\n";

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
