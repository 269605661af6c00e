// vrin-initdb: writes the database delivered with the installation.
//
//   vrin-initdb PATH [--demo N] [--seed S] [--layout 43|38|36]
//
// PATH must not exist. --demo adds N fictitious residents and writes the demo unit
// hierarchy "单位划分.txt" and community name "Info.txt" beside the database. --layout
// writes the resident table of an earlier release (36 or 38 columns), so that the
// program's upgrade can be tried by hand. --help describes each option.

#include "ResidentDatabase.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

const char kUsage[] = "usage: vrin-initdb PATH [--demo N] [--seed S] [--layout 43|38|36]\n";

const char kHelp[] =
    "usage: vrin-initdb PATH [--demo N] [--seed S] [--layout 43|38|36]\n"
    "\n"
    "Writes a new resident database (an SQLite file named like \"人员档案.mdb\") at PATH,\n"
    "which must not exist yet. The program's first start on it creates the operator\n"
    "管理员 with the password 580347.\n"
    "\n"
    "  --demo N        add N fictitious residents, and write the demo unit hierarchy\n"
    "                  \"单位划分.txt\" and community name \"Info.txt\" beside the database\n"
    "  --seed S        the seed of the demo residents (the same seed gives the same residents)\n"
    "  --layout C      the resident table of an earlier release: 43 (today's), 38 or 36\n"
    "                  columns, to try the program's upgrade by hand\n"
    "  --help          print this text\n";

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString path;
    ResidentDatabaseOptions options;
    auto number = [&](int& i, const char* what) -> long long {
        bool ok = false;
        long long value = i + 1 < args.size() ? args[++i].toLongLong(&ok) : 0;
        if (!ok || value < 0) {
            std::fprintf(stderr, "vrin-initdb: %s needs a number\n", what);
            std::exit(2);
        }
        return value;
    };
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (args[i] == QLatin1String("--demo"))
            options.demoResidents = static_cast<int>(number(i, "--demo"));
        else if (args[i] == QLatin1String("--seed"))
            options.seed = static_cast<unsigned>(number(i, "--seed"));
        else if (args[i] == QLatin1String("--layout"))
            options.layoutColumns = static_cast<int>(number(i, "--layout"));
        else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            path = args[i];
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (path.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QString error;
    if (!CreateResidentDatabase(path, options, &error)) {
        std::fprintf(stderr, "vrin-initdb: %s\n", error.toUtf8().constData());
        return 1;
    }
    std::printf("%s: %d residents, %d columns\n", path.toUtf8().constData(), options.demoResidents,
                options.layoutColumns);
    return 0;
}
