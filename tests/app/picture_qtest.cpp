// Saving the shown diagram picture through the save dialog, and copying it to the clipboard.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <memory>

#include "app/diagram/display_controller.h"
#include "app/diagram/picture_controller.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

QImage Rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage ShownImage(WindowFixture& f) {
    return Rgb(f.c().ImPlot->pixmap().toImage());
}

QImage ClipboardImage() {
    return Rgb(QGuiApplication::clipboard()->image());
}

PictureController& Pictures(WindowFixture& f) {
    auto* controller = f.window->findChild<PictureController*>();
    Q_ASSERT(controller);
    return *controller;
}

// Every entry of the folder, hidden ones included (a left-over temporary file counts).
QStringList FolderEntries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Saves through the given menu item, answering the dialog with `path`.
void SaveAs(WindowFixture& f, const QString& path, QAction* item = nullptr) {
    f.dialogs.saveAnswers.push_back(path);
    (item ? item : f.c().actions.imageSaveAs)->trigger();
}

}  // namespace

class PictureTest : public QObject {
    Q_OBJECT

  private slots:
    // A fresh, empty folder for every test.
    void init() {
        tempDir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tempDir_->isValid());
    }
    void cleanup() { tempDir_.reset(); }

    void saveDialogSettingsAndCancel() {
        WindowFixture f;
        Pictures(f).setClock([] { return LocalTime{2016, 3, 5, 23, 59}; });
        const QStringList before = f.memoLines();
        f.c().actions.imageSaveAs->trigger();  // no answer queued: cancel

        QCOMPARE(f.dialogs.saveRequests.size(), 1u);
        const FileDialogRequest& r = f.dialogs.saveRequests[0];
        QCOMPARE(r.filters, QStringList({"Bitmaps (*.bmp)", "WebBild (*.png)", "JPG-Grafik (*.jpg)",
                                         "Alle Dateien (*.*)"}));
        QCOMPARE(r.selectedFilter, 0);
        QCOMPARE(r.defaultSuffix, QStringLiteral("bmp"));
        QVERIFY(r.initialDir.isEmpty());
        QCOMPARE(r.proposedName, QStringLiteral("160305_Noise_Report.bmp"));
        QVERIFY(!r.confirmOverwrite);
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.memoLines(), before);  // cancel drew nothing

        // The File menu item opens the same dialog, with the name proposed afresh.
        Pictures(f).setClock([] { return LocalTime{2100, 1, 1, 0, 0}; });
        QVERIFY(f.c().actions.savePicture->isEnabled());
        f.c().actions.savePicture->trigger();
        QCOMPARE(f.dialogs.saveRequests.size(), 2u);
        QCOMPARE(f.dialogs.saveRequests[1].proposedName, QStringLiteral("000101_Noise_Report.bmp"));
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(FolderEntries(dir()).isEmpty());
    }

    void realClockDatesTheProposedName() {
        WindowFixture f;
        const QString today = QDate::currentDate().toString(QStringLiteral("yyMMdd"));
        f.c().actions.imageSaveAs->trigger();
        QCOMPARE(f.dialogs.saveRequests.size(), 1u);
        // Tolerates a click just across midnight.
        const QString proposed = f.dialogs.saveRequests[0].proposedName;
        const QString after = QDate::currentDate().toString(QStringLiteral("yyMMdd"));
        QVERIFY2(proposed == today + "_Noise_Report.bmp" || proposed == after + "_Noise_Report.bmp",
                 qPrintable(proposed));
    }

    void savesTheShownPicture_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("lossless");
        QTest::newRow("bmp") << "160305_Noise_Report.bmp" << QByteArray("bmp") << true;
        QTest::newRow("png") << "diagram.png" << QByteArray("png") << true;
        QTest::newRow("jpg") << "diagram.jpg" << QByteArray("jpeg") << false;
        QTest::newRow("non-ASCII name")
            << QString::fromUtf8("Störung ä.png") << QByteArray("png") << true;
    }
    void savesTheShownPicture() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(bool, lossless);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->setOuterSize({1100, 650});
        QTRY_COMPARE(f.c().ImPlot->size(), QSize(655, 564));
        const QImage shown = ShownImage(f);
        QCOMPARE(shown.size(), QSize(655, 564));

        const QString path = dir().filePath(name);
        SaveAs(f, path);
        QVERIFY(f.dialogs.messages.empty());
        QImageReader reader(path);
        QCOMPARE(reader.format(), format);
        const QImage saved = Rgb(reader.read());
        QCOMPARE(saved.size(), shown.size());
        if (lossless) QVERIFY(saved == shown);

        // Saving again under the same name replaces the file without a question.
        f.c().CBBandWidth->setEditText(QStringLiteral("10000"));
        const QImage newer = ShownImage(f);
        QVERIFY(newer != shown);
        SaveAs(f, path, f.c().actions.savePicture);
        QVERIFY(f.dialogs.messages.empty());
        const QImage replaced = Rgb(QImage(path));
        QCOMPARE(replaced.size(), newer.size());
        if (lossless) QVERIFY(replaced == newer);
        QCOMPARE(f.dialogs.saveRequests.size(), 2u);
    }

    void refusedExtensionsWarnAndWriteNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("gif") << QString("x.gif") << QString("..gif-Files are not allowed.");
        QTest::newRow("no dot") << QString("noise") << QString(".-Files are not allowed.");
    }
    void refusedExtensionsWarnAndWriteNothing() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        WindowFixture f;
        SaveAs(f, dir().filePath(name));
        QCOMPARE(f.dialogs.messages, (std::vector<ShownMessage>{{"Warnung", text}}));
        QCOMPARE(f.dialogs.saveRequests.size(), 1u);  // the dialog does not reopen
        QVERIFY(FolderEntries(dir()).isEmpty());
    }

    void failingFolderIsAnError() {
        WindowFixture f;
        const QString path = dir().filePath(QStringLiteral("missing/noise.png"));
        SaveAs(f, path);
        const QString expected = QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2")
                                     .arg(path, QString::fromLocal8Bit(std::strerror(ENOENT)));
        QCOMPARE(f.dialogs.messages, (std::vector<ShownMessage>{{"Fehler", expected}}));
        QVERIFY(FolderEntries(dir()).isEmpty());
    }

    void copyPutsTheShownPictureOnTheClipboard() {
        WindowFixture f;
        QAction* items[] = {f.c().actions.imageCopy, f.c().actions.copyPicture};
        for (QAction* item : items) {
            QGuiApplication::clipboard()->clear();
            QVERIFY(item->isEnabled());
            item->trigger();
            const QImage copied = ClipboardImage();
            QCOMPARE(copied.size(), QSize(537, 497));
            QVERIFY(copied == ShownImage(f));
            // A new diagram leaves the clipboard holding the earlier one.
            f.c().CBBandWidth->setEditText(item == items[0] ? QStringLiteral("9000")
                                                            : QStringLiteral("2700"));
            QVERIFY(ShownImage(f) != copied);
            QVERIFY(ClipboardImage() == copied);
        }
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(f.dialogs.saveRequests.empty());
    }

    // A refused bandwidth puts the box back to "2700" and the diagram with it: both commands
    // take the picture for 2700, not the one for the text before the refused one.
    void refusedBandwidthRedrawsThePictureToSaveAndCopy() {
        WindowFixture f;
        f.c().CBBandWidth->setEditText(QStringLiteral("6000"));
        const QImage at6000 = ShownImage(f);
        f.c().CBBandWidth->setEditText(QStringLiteral("6000 "));
        QCOMPARE(f.dialogs.messages.size(), 1u);  // the bandwidth message
        QCOMPARE(f.c().CBBandWidth->currentText(), QStringLiteral("2700"));
        QCOMPARE(f.window->display().pictureBandwidthHz(), 2700);
        const QImage at2700 = ShownImage(f);
        QVERIFY(at2700 != at6000);

        const QString path = dir().filePath(QStringLiteral("reset.png"));
        SaveAs(f, path);
        f.c().actions.copyPicture->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QVERIFY(Rgb(QImage(path)) == at2700);
        QVERIFY(ClipboardImage() == at2700);
    }

  private:
    std::unique_ptr<QTemporaryDir> tempDir_;
    const QTemporaryDir& dir() const { return *tempDir_; }
};

FW_WINDOW_TEST(PictureTest);

}  // namespace fw::testing

#include "picture_qtest.moc"
