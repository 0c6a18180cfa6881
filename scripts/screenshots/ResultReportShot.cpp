// Prints the report of a crafted result into a real PDF and rasterises its
// page with pdftoppm into a PNG for the README
// (result_report_shot <file.png> [file.pdf]; the PDF is kept when named).
#include "record/OleDate.h"
#include "results/ResultReport.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: result_report_shot <file.png> [file.pdf]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QLocale locale(QLocale::English, QLocale::UnitedKingdom);
    QTemporaryDir dir;
    const QString png = QString::fromLocal8Bit(argv[1]);
    const QString pdf =
        argc == 3 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("report.pdf"));

    HistoryRecord result;
    result.SetName(QStringLiteral("Anna Petrova"));
    result.RecDate = OleDate::FromDate(QDate(2002, 12, 7));
    result.RecTime = OleDate::FromTime(QTime(14, 30, 25));
    result.RecCounts = {36, 35, 31, 29};
    result.RecCMF = 19;
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(ResultReport(TestResult::Of(result)).DocumentName());
        if (!ResultReport(TestResult::Of(result)).Paint(writer, QDate(2002, 12, 9), locale)) {
            std::fprintf(stderr, "result_report_shot: cannot write %s\n", qPrintable(pdf));
            return 1;
        }
    }
    QString stem = png;
    if (stem.endsWith(QStringLiteral(".png")))
        stem.chop(4);
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("90"),
                    QStringLiteral("-singlefile"), pdf, stem});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0) {
        std::fprintf(stderr, "result_report_shot: pdftoppm (poppler-utils) failed\n");
        return 1;
    }
    return 0;
}
