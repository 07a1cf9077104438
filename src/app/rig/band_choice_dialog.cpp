#include "app/rig/band_choice_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace fw {

BandChoiceDialog::BandChoiceDialog(const QStringList& bands, const QStringList& checked,
                                   QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Sweep Bands"));
    auto* grid = new QGridLayout;
    // Each box takes the first character of its band that no other control has taken as
    // its Alt key; a band left with none shares its first one, and Alt steps between them.
    QString taken = QStringLiteral("lnsc");  // All, None, Sweep, Cancel
    for (const QString& band : bands) {
        qsizetype key = 0;
        while (key < band.size() && taken.contains(band.at(key).toLower())) ++key;
        if (key == band.size()) key = 0;
        taken += band.at(key).toLower();
        auto* box = new QCheckBox(QString(band).insert(key, QLatin1Char('&')));
        box->setProperty("band", band);
        box->setChecked(checked.contains(band));
        const auto i = static_cast<int>(boxes_.size());
        grid->addWidget(box, i % 7, i / 7);
        boxes_.push_back(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* all = buttons->addButton(QStringLiteral("A&ll"), QDialogButtonBox::ResetRole);
    QPushButton* none = buttons->addButton(QStringLiteral("&None"), QDialogButtonBox::ResetRole);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("&Sweep"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
    // A sweep needs at least one band.
    auto update = [this, ok] { ok->setEnabled(!chosen().isEmpty()); };
    for (QCheckBox* box : boxes_) connect(box, &QCheckBox::toggled, this, update);
    connect(all, &QPushButton::clicked, this, [this] {
        for (QCheckBox* box : boxes_) box->setChecked(true);
    });
    connect(none, &QPushButton::clicked, this, [this] {
        for (QCheckBox* box : boxes_) box->setChecked(false);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    update();
}

QStringList BandChoiceDialog::chosen() const {
    QStringList bands;
    for (const QCheckBox* box : boxes_)
        if (box->isChecked()) bands << box->property("band").toString();
    return bands;
}

}  // namespace fw
