#pragma once

#include "settingsstore.h"
#include "wizarddialog.h"

#include <QVariantMap>

#include <memory>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace Ui {
class CSettingsDialogClass;
class ConversionPage;
class FoldersPage;
class MemoryPage;
class AssociationsPage;
class DownloadsPage;
class AdvancedPage;
} // namespace Ui

// The keys of the value map the settings dialog takes in and gives back.
//
// What the caller (the main window's Settings command) puts in:
//   MyCollectionFolder  text  "Settings/MyCollectionFolder"
//   ScanFolder          text  "Settings/ScanFolder"
//   Ext3gp ... ExtWmv   bool  the extension is associated with the program
//                             ("3gp", "avi", "mov", "mp4", "mpg", "wmv";
//                             "asx" is offered disabled and never read)
//   NumOfMemUnits       int   memories of the current phone, 1 to 3; any other
//                             number (no phone: 0) disables the Memory page
//   MemorySelected      int   0 phone memory, 1 first card, 2 second card
//   PhoneSupportsQuality int  highest quality the phone plays, 0 to 2
//                             (missing: no limit)
//   Quality             int   0 Low, 1 Medium, 2 High
//   Download2Phone      int   1 copy downloads to the phone, 0 not, -1 ask
// The memory-name keys the main window may add ("PhoneMemName",
// "MemCardName1", ...) are not shown: the memory page uses fixed texts.
//
// What getValues() writes back, only for an accepted dialog:
//   Quality, MyCollectionFolder, ScanFolder   always
//   the extension keys                        of the enabled check boxes
//   MemorySelected                            only when a memory is chosen
//   Download2Phone                            0 or 1, only once the user has
//                                             seen the Downloads page while
//                                             the map held -1 (or no value)
// Keys the dialog leaves out mean "unchanged": the caller writes nothing for
// them. The caller applies the rest: the two folders, the associations (and
// ".mpeg" with "mpg"), "Settings/DownloadToPhone", the phone profile's memory
// and quality, and "Settings/Quality".
namespace SettingsValue {
inline constexpr char MyCollectionFolder[] = "MyCollectionFolder";
inline constexpr char ScanFolder[] = "ScanFolder";
inline constexpr char Ext3gp[] = "3gp";
inline constexpr char ExtAsx[] = "asx";
inline constexpr char ExtAvi[] = "avi";
inline constexpr char ExtMov[] = "mov";
inline constexpr char ExtMp4[] = "mp4";
inline constexpr char ExtMpg[] = "mpg";
inline constexpr char ExtWmv[] = "wmv";
inline constexpr char NumOfMemUnits[] = "NumOfMemUnits";
inline constexpr char MemorySelected[] = "MemorySelected";
inline constexpr char PhoneSupportsQuality[] = "PhoneSupportsQuality";
inline constexpr char Quality[] = "Quality";
inline constexpr char Download2Phone[] = "Download2Phone";
} // namespace SettingsValue

// The settings window: a column of page buttons ("ctButton", "fButton",
// "mButton", "aButton", "dButton", and "advButton" for the Advanced page)
// and one page at a time, with "helpButton", "okButton" ("Save
// Configuration") and "cancelButton" ("Cancel Configuration") below.
//
// Use: construct, setValues(map), exec(); when accepted, getValues(map) and
// apply what it returns. The dialog writes no setting itself, except that
// with "Settings/AdvSettings" on, an accepted dialog stores the values of
// the Advanced page (the conversion profiles, Settings::setProfile) before
// it closes. Save checks both folders first: a folder that does not exist
// is reported and its field reset to the value handed in, and the dialog
// stays open. Cancel, Escape and the close button write nothing.
//
// Keyboard: Tab runs through the page buttons, the page's controls and the
// buttons below; Enter saves (or presses the focused button), Escape
// cancels, F1 shows the page's help in a balloon. Main thread only.
class CSettingsDialog final : public CWizardDlg
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSettingsDialog)

public:
    enum Page { ConversionTypePage, FoldersPage, MemoryPage, AssociationsPage, DownloadsPage, AdvancedPage };
    static constexpr QSize kHelpSize{620, 280};

    explicit CSettingsDialog(QWidget *parent = nullptr);
    ~CSettingsDialog() override;

    void setValues(const QVariantMap &values);
    // Adds the dialog's values to values (see SettingsValue), replacing
    // values of the same keys; other keys stay as they are.
    void getValues(QVariantMap &values) const;

    int currentPage() const;
    // True when "Settings/AdvSettings" was on as the dialog was made.
    bool advancedAvailable() const { return m_advancedAvailable; }

    // The items of the Advanced page's lists, as shown (each with the
    // leading blank it has in the list), and the numbers they stand for.
    static QStringList videoBitrateItems();
    static QList<int> videoBitrateValues();
    static QStringList resolutionItems();
    static QList<QSize> resolutionValues();
    static QStringList audioBitrateItems();
    static QList<int> audioBitrateValues();

private Q_SLOTS:
    void on_ctButton_clicked();
    void on_fButton_clicked();
    void on_mButton_clicked();
    void on_aButton_clicked();
    void on_dButton_clicked();
    void on_advButton_clicked();
    void on_helpButton_clicked();
    void on_sbBrowse_clicked();
    void on_mcfbBrowse_clicked();
    void on_okButton_clicked();
    void on_cancelButton_clicked();
    void on_resetHighButton_clicked();
    void on_resetMediumButton_clicked();
    void on_resetLowButton_clicked();
    void popupHelp();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The controls of one conversion profile on the Advanced page.
    struct ProfileControls
    {
        QSpinBox *fps;
        QComboBox *videoBitrate;
        QComboBox *resolution;
        QCheckBox *audio;
        QComboBox *audioBitrate;
        QCheckBox *mono;
    };

    void buildPages();
    void styleButtons();
    void connectButtons();
    void setTabChain();
    void openPage(int page);
    QList<QPair<const char *, QCheckBox *>> associationBoxes() const;

    ProfileControls profileControls(Settings::Quality quality) const;
    void fillAdvancedLists();
    void showProfile(Settings::Quality quality, const Settings::ProfileValues &values);
    void saveAdvanced() const;

    std::unique_ptr<Ui::CSettingsDialogClass> m_ui;
    std::unique_ptr<Ui::ConversionPage> m_conversion;
    std::unique_ptr<Ui::FoldersPage> m_folders;
    std::unique_ptr<Ui::MemoryPage> m_memory;
    std::unique_ptr<Ui::AssociationsPage> m_associations;
    std::unique_ptr<Ui::DownloadsPage> m_downloads;
    std::unique_ptr<Ui::AdvancedPage> m_advanced;

    QString m_openingCollection;
    QString m_openingScan;
    bool m_advancedAvailable = false;
    bool m_downloadChoicePending = false;
};
