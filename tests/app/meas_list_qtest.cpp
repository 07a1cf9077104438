// The measurement list box and the list commands: delete, clear, load, save.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

#include "app/entry/meas_list_controller.h"
#include "libs/regional.h"
#include "measure/user_data_file.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

const QString Header1 = QString::fromUtf8(UserListHeader1);
const QString Header2 = QString::fromUtf8(UserListHeader2);

// Numbers without fractions read the same under either decimal separator.
const QByteArray ThreeRowsDescending =
    "Locator: JO40CQ\r\n"
    "DateTime: 2026-12-06 08:05\r\n"
    "14;20;2700;Field;-999;-999;-999;-999\r\n"
    "7;15;2700;AntVol;2;-999;30;-80\r\n"
    "3;13;2700;S-Val;2;9;34;-73\r\n";

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(content);
    return path;
}

QStringList ListLines(WindowFixture& f) {
    return f.c().userListModel->stringList();
}

void SelectLine(WindowFixture& f, int line) {
    QListView* view = f.c().LBUserData;
    view->setCurrentIndex(f.c().userListModel->index(line));
}

MeasRow Row(double freqMHz, double bandwidthHz = 2700) {
    return MeasRow{freqMHz, 10, bandwidthHz, "Field", -999, -999, -999, -999};
}

}  // namespace

class MeasListTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void listShowsHeadersFromTheStart() {
        WindowFixture f;
        QCOMPARE(ListLines(f), QStringList({Header1, Header2}));
        for (QAction* a :
             {f.c().actions.loadUserData, f.c().actions.saveUserData, f.c().actions.listDelete,
              f.c().actions.listLoad, f.c().actions.listSave, f.c().actions.listClear})
            QVERIFY(a->isEnabled());
    }

    void fileDialogsAskForTextFilesOnTheDesktop() {
        WindowFixture f;
        f.c().actions.loadUserData->trigger();
        f.c().actions.saveUserData->trigger();
        QCOMPARE(f.dialogs.openRequests.size(), 1u);
        QCOMPARE(f.dialogs.saveRequests.size(), 1u);
        for (const FileDialogRequest& r : {f.dialogs.openRequests[0], f.dialogs.saveRequests[0]}) {
            QCOMPARE(r.filters, QStringList({"Alle Dateien (*.*)", "TextDateien (*.txt)"}));
            QCOMPARE(r.selectedFilter, 1);
            QCOMPARE(r.defaultSuffix, QStringLiteral("txt"));
            QVERIFY(QDir(r.initialDir).exists());
        }
        // Only the save dialog proposes a name: a load's rarely exists.
        QVERIFY(f.dialogs.openRequests[0].proposedName.isEmpty());
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{6}_USER_Data\\.txt$"))
                    .match(f.dialogs.saveRequests[0].proposedName)
                    .hasMatch());
        QVERIFY(!f.dialogs.openRequests[0].confirmOverwrite);
        QVERIFY(f.dialogs.saveRequests[0].confirmOverwrite);
    }

    void loadReplacesListLocatorAndTime() {
        WindowFixture f;
        const QString path = WriteFile(dir_, "data.txt", ThreeRowsDescending);
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        const QImage before = f.c().ImPlot->pixmap().toImage();
        f.dialogs.openAnswers = {path};
        f.c().actions.listLoad->trigger();

        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.window->document().measList().size(), 3u);
        const QStringList lines = ListLines(f);
        QCOMPARE(lines.size(), 5);
        // Sorted by frequency, ascending.
        QVERIFY(lines[2].startsWith(QStringLiteral("  3")));
        QVERIFY(lines[3].startsWith(QStringLiteral("  7")));
        QVERIFY(lines[4].startsWith(QStringLiteral(" 14")));
        QCOMPARE(QString::fromStdString(f.state().Locator), QStringLiteral("JO40CQ"));
        QCOMPARE(QString::fromStdString(f.state().MeasDateTime),
                 QStringLiteral("2026-12-06 08:05"));
        QCOMPARE(QString::fromStdString(f.state().UserDataFile), path);
        QCOMPARE(redraws.count(), 1);
        QVERIFY(f.c().ImPlot->pixmap().toImage() != before);  // dots and the new locator line
    }

    void failedOrCancelledLoadChangesNothing() {
        WindowFixture f;
        const QString good = WriteFile(dir_, "good.txt", ThreeRowsDescending);
        const QString bad = WriteFile(
            dir_, "bad.txt", "Locator: AA00AA\r\nDateTime: x\r\n\r\n5;1;1;S-Val;1;1;1;1\r\n");
        const QString missing = dir_.filePath(QStringLiteral("missing.txt"));
        f.dialogs.openAnswers = {good};
        f.c().actions.loadUserData->trigger();
        const MeasList loaded = f.window->document().measList();
        const QStringList lines = ListLines(f);
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);

        f.dialogs.openAnswers = {std::nullopt};
        f.c().actions.loadUserData->trigger();
        QVERIFY(f.dialogs.messages.empty());

        f.dialogs.openAnswers = {bad};
        f.c().actions.loadUserData->trigger();
        QCOMPARE(f.dialogs.messages,
                 std::vector<ShownMessage>({{"Warnung", "File not found or converstion error!\nLine "
                                                        "3, field 1: no number (with a point or a "
                                                        "comma as decimal separator)."}}));

        f.dialogs.messages.clear();
        f.dialogs.openAnswers = {missing};
        f.c().actions.loadUserData->trigger();
        const QString missingText = QStringLiteral("Die Datei\r\n\r\n") + missing +
                                    QStringLiteral("\r\n\r\nkonnte nicht gefunden werden!");
        QCOMPARE(f.dialogs.messages,
                 std::vector<ShownMessage>({{"Fehler", missingText},
                                            {"Warnung", "File not found or converstion error!"}}));

        QCOMPARE(f.window->document().measList(), loaded);
        QCOMPARE(ListLines(f), lines);
        QCOMPARE(QString::fromStdString(f.state().UserDataFile), good);
        QCOMPARE(QString::fromStdString(f.state().Locator), QStringLiteral("JO40CQ"));
        QCOMPARE(redraws.count(), 0);
    }

    void saveWritesTheFileAndRemembersIt() {
        WindowFixture f;
        f.window->document().appendRow(Row(7.1));
        f.window->document().appendRow(Row(3.5));
        const QString path = dir_.filePath(QStringLiteral("saved.txt"));
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        f.dialogs.saveAnswers = {path};
        f.c().actions.listSave->trigger();
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(QString::fromStdString(f.state().UserDataFile), path);
        QCOMPARE(redraws.count(), 0);  // saving does not redraw

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string expected = UserDataFileText(
            "NoLoc.", "NoDateTime", f.window->document().measList(), SystemDecimalSeparator());
        QCOMPARE(file.readAll().toStdString(), expected);
        QVERIFY(QString::fromStdString(expected).indexOf(QStringLiteral("3")) <
                QString::fromStdString(expected).indexOf(QStringLiteral("7")));

        // The saved file loads back to the same rows.
        const MeasList saved = f.window->document().measList();
        f.c().actions.listClear->trigger();
        f.dialogs.openAnswers = {path};
        f.c().actions.listLoad->trigger();
        QCOMPARE(f.window->document().measList(), saved);
    }

    void failedOrCancelledSaveKeepsTheFileName() {
        WindowFixture f;
        f.window->document().setDataFile("/earlier/file.txt");
        f.dialogs.saveAnswers = {std::nullopt};
        f.c().actions.saveUserData->trigger();
        QVERIFY(f.dialogs.messages.empty());

        f.dialogs.saveAnswers = {dir_.filePath(QStringLiteral("no/such/folder/x.txt"))};
        f.c().actions.saveUserData->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Fehler"));
        QVERIFY(!f.dialogs.messages[0].text.isEmpty());
        QCOMPARE(f.state().UserDataFile, std::string("/earlier/file.txt"));
    }

    void deleteRemovesTheSelectedRowOnly() {
        WindowFixture f;
        for (double mhz : {14.0, 3.5, 7.0}) f.window->document().appendRow(Row(mhz));
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);

        f.c().actions.listDelete->trigger();  // nothing selected
        QCOMPARE(f.window->document().measList().size(), 3u);
        SelectLine(f, 1);  // a header line
        f.c().actions.listDelete->trigger();
        QCOMPARE(f.window->document().measList().size(), 3u);
        QCOMPARE(redraws.count(), 2);  // the list is rebuilt and redrawn in every case

        SelectLine(f, 3);  // the second row: 7 MHz
        f.c().actions.listDelete->trigger();
        QCOMPARE(f.window->document().measList().MeasFreqMHz(), (std::vector<double>{3.5, 14.0}));
        QCOMPARE(ListLines(f).size(), 4);
        QCOMPARE(redraws.count(), 3);
    }

    void clearEmptiesListAndFileNameOnly() {
        WindowFixture f;
        f.window->document().appendRow(Row(3.5));
        f.window->document().setDataFile("/x/data.txt");
        f.window->document().setLocatorAndTime("JO40CQ", std::nullopt);
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        f.c().actions.listClear->trigger();
        QVERIFY(f.window->document().measList().empty());
        QVERIFY(f.state().UserDataFile.empty());
        QCOMPARE(f.state().Locator, std::string("JO40CQ"));
        QCOMPARE(ListLines(f), QStringList({Header1, Header2}));
        QCOMPARE(redraws.count(), 1);
    }

    // The list is sorted as rows come in; a level-axis bar leaves it (and its model) alone.
    void scrollKeepsTheSortedList() {
        WindowFixture f;
        for (double mhz : {28.0, 1.9}) f.window->document().appendRow(Row(mhz));
        QSignalSpy resets(f.c().userListModel, &QAbstractItemModel::modelReset);
        f.c().LMDScrollBarPos->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(f.window->document().measList().MeasFreqMHz(), (std::vector<double>{1.9, 28.0}));
        QCOMPARE(ListLines(f).size(), 4);
    }

    void correctionBoxDecidesWhereDotsAreDrawn() {
        WindowFixture f;
        auto redrawnPicture = [&f] {
            f.window->display().updateNoise();
            return f.c().ImPlot->pixmap().toImage();
        };
        f.window->document().appendRow(Row(7.0, 2700));
        const QImage sameBandwidthOn = redrawnPicture();
        f.c().CBbwMode->setChecked(false);
        QCOMPARE(redrawnPicture(), sameBandwidthOn);  // no correction needed at equal bandwidth

        f.window->document().clearList();
        f.window->document().appendRow(Row(7.0, 270));
        const QImage uncorrected = redrawnPicture();
        f.c().CBbwMode->setChecked(true);
        const QImage corrected = redrawnPicture();
        QVERIFY(corrected != uncorrected);
        QCOMPARE(uncorrected, sameBandwidthOn);
    }

  private:
    QTemporaryDir dir_;
};

FW_WINDOW_TEST(MeasListTest);

}  // namespace fw::testing

#include "meas_list_qtest.moc"
