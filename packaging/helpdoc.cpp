// Build-time tool: turns a help document written in HTML into an A4 PDF.
// Usage: fw-helpdoc INPUT.html OUTPUT.pdf
#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextStream>
#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "fw-helpdoc: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Runs during the build, where no display may exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) return Fail(QStringLiteral("usage: fw-helpdoc INPUT.html OUTPUT.pdf"));
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QFile source(input);
    if (!source.open(QIODevice::ReadOnly)) {
        return Fail(input + QStringLiteral(": ") + source.errorString());
    }
    const QString html = QString::fromUtf8(source.readAll());
    if (html.trimmed().isEmpty()) return Fail(input + QStringLiteral(" is empty"));

    QTextDocument document;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral(
        "h1 { font-size: 20pt; color: #1a3c6e; } h2 { font-size: 14pt; color: #1a3c6e; }"
        " h3 { font-size: 11.5pt; } pre { font-family: 'Liberation Mono'; font-size: 8.5pt; }"
        " tt { font-family: 'Liberation Mono'; }"));
    document.setHtml(html);

    // Written under a temporary name and renamed when complete, so a failed run never
    // leaves a truncated document behind.
    QSaveFile target(output);
    if (!target.open(QIODevice::WriteOnly)) {
        return Fail(output + QStringLiteral(": ") + target.errorString());
    }
    {
        QPdfWriter writer(&target);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Floorwatch"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
        writer.setResolution(300);
        document.print(&writer);
    }
    if (!target.commit()) return Fail(output + QStringLiteral(": ") + target.errorString());
    return 0;
}
