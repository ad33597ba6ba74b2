// The settings dialog's Advanced page: the seven values of each conversion
// profile, filled from the settings store and saved back on Save.
#include "settingsdialog.h"

#include "ui_advancedpage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

namespace {

using Settings::Quality;

const char kVideoBitrates[] = " 1024 kbps, 896 kbps, 768 kbps, 640 kbps, 512 kbps, 448 kbps, 384 kbps, 320 kbps, "
                              "288 kbps, 256 kbps, 224 kbps, 192 kbps, 160 kbps, 144 kbps, 128 kbps, 112 kbps, "
                              "96 kbps, 80 kbps, 64 kbps, 56 kbps, 48 kbps, 40 kbps, 32 kbps";
const char kVideoBitrateValues[] = "1024,896,768,640,512,448,384,320,288,256,224,192,160,144,128,112,96,80,64,56,48,"
                                   "40,32";
// The first item, " Maximum" (no limit), is translated; the sizes are not.
const char kResolutions[] = " Maximum, 640x480, 640x200, 480x360, 480x320, 400x300, 416x352, 400x200, 384x288, "
                            "352x288, 352x240, 320x240, 320x208, 240x192, 220x176, 208x208, 208x176, 176x144, "
                            "160x160";
const char kResolutionWidths[] = "0,640,640,480,480,400,416,400,384,352,352,320,320,240,220,208,208,176,160";
const char kResolutionHeights[] = "0,480,200,360,320,300,352,200,288,288,240,240,208,192,176,208,176,144,160";
const char kAudioBitrates[] = " 128 kbps, 112 kbps, 96 kbps, 80 kbps, 64 kbps, 56 kbps, 48 kbps, 40 kbps, 32 kbps, "
                              "24 kbps, 16 kbps, 8 kbps";
const char kAudioBitrateValues[] = "128,112,96,80,64,56,48,40,32,24,16,8";

QStringList items(const char *list)
{
    return QString::fromLatin1(list).split(QLatin1Char(','));
}

QList<int> numbers(const char *list)
{
    QList<int> values;
    for (const QString &item : items(list))
        values.append(item.toInt());
    return values;
}

constexpr Quality kQualities[] = {Quality::High, Quality::Medium, Quality::Low};

} // namespace

QStringList CSettingsDialog::videoBitrateItems()
{
    return items(kVideoBitrates);
}

QList<int> CSettingsDialog::videoBitrateValues()
{
    return numbers(kVideoBitrateValues);
}

QStringList CSettingsDialog::resolutionItems()
{
    QStringList list = items(kResolutions);
    list[0] = QLatin1Char(' ') + tr("Maximum");
    return list;
}

QList<QSize> CSettingsDialog::resolutionValues()
{
    const QList<int> widths = numbers(kResolutionWidths);
    const QList<int> heights = numbers(kResolutionHeights);
    QList<QSize> sizes;
    for (int i = 0; i < widths.size(); ++i)
        sizes.append(QSize(widths[i], heights[i]));
    return sizes;
}

QStringList CSettingsDialog::audioBitrateItems()
{
    return items(kAudioBitrates);
}

QList<int> CSettingsDialog::audioBitrateValues()
{
    return numbers(kAudioBitrateValues);
}

CSettingsDialog::ProfileControls CSettingsDialog::profileControls(Quality quality) const
{
    const Ui::AdvancedPage &page = *m_advanced;
    switch (quality) {
    case Quality::High:
        return {page.advHighFpsspinBox,     page.advHighVideoBitratecomboBox, page.advHighResolutioncomboBox,
                page.advHighAudiocheckBox,  page.advHighAudioBitratecomboBox, page.advHighMonocheckBox};
    case Quality::Medium:
        return {page.advMediumFpsspinBox,    page.advMediumVideoBitratecomboBox, page.advMediumResolutioncomboBox,
                page.advMediumAudiocheckBox, page.advMediumAudioBitratecomboBox, page.advMediumMonocheckBox};
    case Quality::Low:
        break;
    }
    return {page.advLowFpsspinBox,    page.advLowVideoBitratecomboBox, page.advLowResolutioncomboBox,
            page.advLowAudiocheckBox, page.advLowAudioBitratecomboBox, page.advLowMonocheckBox};
}

void CSettingsDialog::fillAdvancedLists()
{
    for (Quality quality : kQualities) {
        const ProfileControls controls = profileControls(quality);
        controls.videoBitrate->addItems(videoBitrateItems());
        controls.resolution->addItems(resolutionItems());
        controls.audioBitrate->addItems(audioBitrateItems());
    }
}

void CSettingsDialog::showProfile(Quality quality, const Settings::ProfileValues &values)
{
    const ProfileControls controls = profileControls(quality);
    controls.fps->setValue(values.fps);
    // A stored value that is not in a list leaves its box without a
    // selection, rather than showing a value that is not the stored one.
    controls.videoBitrate->setCurrentIndex(int(videoBitrateValues().indexOf(values.videoBitrate)));
    controls.resolution->setCurrentIndex(int(resolutionValues().indexOf(QSize(values.width, values.height))));
    controls.audio->setChecked(values.audio);
    controls.mono->setChecked(values.mono);
    controls.audioBitrate->setCurrentIndex(int(audioBitrateValues().indexOf(values.audioBitrate)));
}

void CSettingsDialog::saveAdvanced() const
{
    const QList<int> video = videoBitrateValues();
    const QList<QSize> sizes = resolutionValues();
    const QList<int> audio = audioBitrateValues();
    for (Quality quality : kQualities) {
        const ProfileControls controls = profileControls(quality);
        // A box left without a selection keeps the value that is stored.
        Settings::ProfileValues values = Settings::profile(quality);
        values.fps = controls.fps->value();
        if (const int index = controls.videoBitrate->currentIndex(); index >= 0)
            values.videoBitrate = video.value(index);
        if (const int index = controls.resolution->currentIndex(); index >= 0) {
            values.width = sizes.value(index).width();
            values.height = sizes.value(index).height();
        }
        values.audio = controls.audio->isChecked();
        values.mono = controls.mono->isChecked();
        if (const int index = controls.audioBitrate->currentIndex(); index >= 0)
            values.audioBitrate = audio.value(index);
        Settings::setProfile(quality, values);
    }
}
