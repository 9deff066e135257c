// How long torvikan-sheet takes to write a sheet, from start to exit, as a
// teacher runs it, and how large the sheet is. Prints figures; never fails
// on time.
//
//   bench_sheet <torvikan-sheet> [runs]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_sheet <torvikan-sheet> [runs]\n");
        return 2;
    }
    const QString tool = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    QTemporaryDir folder;

    struct Case {
        const char* name;
        QStringList args;
        const char* file;
        double goal; // seconds, 0: none
    };
    const std::vector<Case> cases = {
        {"default PDF", {}, "sheet.pdf", 0.5},
        {"--exact --clicks 1000 PDF", {"--exact", "--clicks", "1000"}, "exact.pdf", 0.5},
        {"default SVG", {}, "sheet.svg", 0},
        {"default PNG", {}, "sheet.png", 0},
        // Every click moves both marks: the most a sheet draws.
        {"100000 clicks, h 0.0001, PDF", {"--h", "0.0001", "--clicks", "100000", "--exact"}, "long.pdf", 0},
        // Without --clicks a fine unit time runs to its first cue: 7,813 clicks.
        {"default, h 0.001, PDF", {"--h", "0.001"}, "fine.pdf", 0},
        // Every one of 781 clicks in the table, over 15 pages.
        {"every click, h 0.01, PDF", {"--h", "0.01", "--every", "1"}, "pages.pdf", 0},
    };
    for (const Case& c : cases) {
        const QString file = folder.filePath(QString::fromLatin1(c.file));
        std::vector<double> seconds;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            const int status = QProcess::execute(tool, c.args + QStringList{file});
            seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
            if (status != 0) {
                std::printf("sheet: %s failed with status %d\n", c.name, status);
                break;
            }
        }
        std::sort(seconds.begin(), seconds.end());
        std::printf("sheet: %-30s median %.3f s, best %.3f s over %zu runs, %lld bytes", c.name,
                    seconds[seconds.size() / 2], seconds.front(), seconds.size(),
                    static_cast<long long>(QFileInfo(file).size()));
        if (c.goal > 0)
            std::printf(" (goal under %.1f s)", c.goal);
        std::printf("\n");
    }
    return 0;
}
