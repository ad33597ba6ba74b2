// The settings dialog's value map: filling the pages from it and reading
// them back.
#include "settingsdialog.h"

#include "ui_associationspage.h"
#include "ui_conversionpage.h"
#include "ui_downloadspage.h"
#include "ui_folderspage.h"
#include "ui_memorypage.h"
#include "ui_settingsdialog.h"

namespace {

namespace V = SettingsValue;

// The slider's area as the form makes it, and when the phone plays no
// High quality: then it spans only the Medium and Low labels.
constexpr int kSliderAreaHeight = 170;
constexpr int kLimitedSliderHeight = 100;

QVariant value(const QVariantMap &values, const char *key, const QVariant &fallback = QVariant())
{
    return values.value(QLatin1String(key), fallback);
}

} // namespace

QList<QPair<const char *, QCheckBox *>> CSettingsDialog::associationBoxes() const
{
    return {{V::Ext3gp, m_associations->cB3gp}, {V::ExtMp4, m_associations->cBmp4},
            {V::ExtAsx, m_associations->cBasx}, {V::ExtAvi, m_associations->cBavi},
            {V::ExtMpg, m_associations->cBmpg}, {V::ExtMov, m_associations->cBmov},
            {V::ExtWmv, m_associations->cBwmv}};
}

void CSettingsDialog::setValues(const QVariantMap &values)
{
    m_openingCollection = value(values, V::MyCollectionFolder).toString();
    m_openingScan = value(values, V::ScanFolder).toString();
    m_folders->mcflEdit->setText(m_openingCollection);
    m_folders->slEdit->setText(m_openingScan);

    for (const auto &[key, box] : associationBoxes())
        if (box->isEnabled())
            box->setChecked(value(values, key, false).toBool());

    // Only the memories the phone has are offered, and only one of them can
    // be the chosen one.
    QRadioButton *const memories[] = {m_memory->rb0, m_memory->rb1, m_memory->rb2};
    const int units = value(values, V::NumOfMemUnits, 0).toInt();
    const bool knownUnits = units >= 1 && units <= 3;
    m_ui->mButton->setEnabled(knownUnits);
    m_memory->rb0->setText(tr("Phone Memory"));
    m_memory->rb1->setText(units == 2 ? tr("Memory Card (MMC)") : tr("Memory Card 1 (MMC)"));
    m_memory->rb2->setText(tr("Memory Card 2 (MMC)"));
    bool selectedOk = false;
    const int selected = value(values, V::MemorySelected, -1).toInt(&selectedOk);
    for (int i = 0; i < 3; ++i) {
        QRadioButton *memory = memories[i];
        memory->setVisible(knownUnits && i < units);
        memory->setAutoExclusive(false);
        memory->setChecked(knownUnits && selectedOk && i == selected && i < units);
        memory->setAutoExclusive(true);
    }

    const QWidgetList high{m_conversion->hqLabel, m_conversion->hqiLabel};
    const QWidgetList medium{m_conversion->mqLabel, m_conversion->mqiLabel};
    for (QWidget *label : high + medium + QWidgetList{m_conversion->lqLabel, m_conversion->lqiLabel}) {
        label->setVisible(true);
        label->setEnabled(true);
    }
    QWidget *area = m_conversion->sliderArea;
    area->setEnabled(true);
    area->setMinimumHeight(kSliderAreaHeight);
    area->setMaximumHeight(QWIDGETSIZE_MAX);
    int maximum = 2;
    // With the advanced profiles on, the user decides what each quality is,
    // so the phone's limit does not narrow the choice.
    if (!m_advancedAvailable) {
        maximum = qBound(0, value(values, V::PhoneSupportsQuality, 2).toInt(), 2);
        if (maximum <= 1)
            for (QWidget *label : high)
                label->setEnabled(false);
        if (maximum == 1) {
            area->setFixedHeight(kLimitedSliderHeight);
        } else if (maximum == 0) {
            area->setEnabled(false);
            for (QWidget *label : medium)
                label->setEnabled(false);
        }
    }
    m_conversion->sliderQuality->setMaximum(maximum);
    m_conversion->sliderQuality->setValue(value(values, V::Quality, 1).toInt());

    bool choiceOk = false;
    const int choice = value(values, V::Download2Phone, -1).toInt(&choiceOk);
    m_downloadChoicePending = !choiceOk || (choice != 0 && choice != 1);
    m_downloads->cBdl2phone->setChecked(choiceOk && choice == 1);
}

void CSettingsDialog::getValues(QVariantMap &values) const
{
    values.insert(QLatin1String(V::Quality), m_conversion->sliderQuality->value());
    values.insert(QLatin1String(V::MyCollectionFolder), m_folders->mcflEdit->text());
    values.insert(QLatin1String(V::ScanFolder), m_folders->slEdit->text());
    for (const auto &[key, box] : associationBoxes())
        if (box->isEnabled())
            values.insert(QLatin1String(key), box->isChecked());
    const QRadioButton *const memories[] = {m_memory->rb0, m_memory->rb1, m_memory->rb2};
    for (int i = 0; i < 3; ++i)
        if (memories[i]->isChecked())
            values.insert(QLatin1String(V::MemorySelected), i);
    if (!m_downloadChoicePending)
        values.insert(QLatin1String(V::Download2Phone), m_downloads->cBdl2phone->isChecked() ? 1 : 0);
}
