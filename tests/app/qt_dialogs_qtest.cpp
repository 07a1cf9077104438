// The real Qt dialogs: Qt's own texts in the user's language, and file-type filters that
// never rewrite the proposed or typed name.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include "app/window/picture_saving.h"
#include "app/window/qt_dialogs.h"
#include "app/window/qt_translations.h"
#include "window_test_registry.h"

namespace fw::testing {

class QtDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void qtSpeaksTheLocalesLanguage() {
        QTranslator* german =
            InstallQtTranslations(*qApp, QLocale(QLocale::German, QLocale::Germany));
        QVERIFY2(german, "qtbase_de.qm is missing: qt6-translations-l10n");
        const QString lookIn = QCoreApplication::translate("QFileDialog", "Look in:");
        QCoreApplication::removeTranslator(german);
        delete german;
        QVERIFY(lookIn != QStringLiteral("Look in:"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"),
                 QStringLiteral("Look in:"));
    }

    // Choosing "Alle Dateien (*.*)" or another type leaves "…_Noise_Report.bmp" as it is.
    void filtersNeverRewriteTheName() {
        QtDialogs dialogs(nullptr);
        const FileDialogRequest request = PictureSaveRequest(LocalTime{2026, 12, 7, 10, 0});
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (types && name) {
                for (int i = types->count() - 1; i >= 0; --i) {
                    types->setCurrentIndex(i);
                    emit types->activated(i);  // as a user's choice
                    QCoreApplication::processEvents();
                    seen << name->text();
                }
            }
            dialog->reject();
        });
        QVERIFY(!dialogs.saveFileName(request));
        QCOMPARE(seen.size(), request.filters.size());
        for (const QString& name : seen) QCOMPARE(name, request.proposedName);
    }
};

FW_WINDOW_TEST(QtDialogsTest);

}  // namespace fw::testing

#include "qt_dialogs_qtest.moc"
