#pragma once

// What the main window's tests share: the program's theme, fonts, connectivity
// library and player from this build, folder phones in the private devices
// folder, and lookups of what the window shows by object name.

#include "contextswitcher.h"
#include "folderphones.h"
#include "startup.h"
#include "theme.h"
#include "ui_videotransferwindow.h"
#include "videotransferwindow.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QResource>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

namespace WindowTest {

// The offscreen platform's screen is smaller than the window's smallest
// size; the tests give it one like a desktop's, through the platform's
// screen configuration. Call before the application object is made.
inline void useDesktopSizedScreen()
{
    static QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly))
        file.write(R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1600, "height": 1000,
                      "logicalDpi": 96, "logicalBpp": 32}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
}

inline bool loadProgram()
{
    const QString bin = qEnvironmentVariable("TAMSEL_BIN_DIR");
    if (bin.isEmpty()
        || !QResource::registerResource(bin + QStringLiteral("/Resource/videotransfer.rcc"), QStringLiteral("/Theme/")))
        return false;
    CTheme::setCurrent(new CTheme(QStringLiteral(":/Theme/Resources/DefaultTheme15.xml"), QStringLiteral(":/Theme/")));
    installApplicationFonts();
    // A test run against MTP phones takes a test build of the connectivity library.
    const QString kelvra = qEnvironmentVariable("TAMSEL_KELVRA_DIR", bin);
    qputenv("KELVRA_API_PATH", QFile::encodeName(kelvra + QStringLiteral("/libkelvraapi.so")));
    qputenv("TAMSEL_PLAYER_LIBRARY", QFile::encodeName(bin + QStringLiteral("/libtamselplayer.so")));
    qputenv("TAMSEL_CONVERTER_LIBRARY", QFile::encodeName(bin + QStringLiteral("/libtamselconverter.so")));
    // Downloads from the tests' local server go straight to it.
    for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
    return !CTheme::pixmap(CTheme::MainWindow, CTheme::Top | CTheme::Left).isNull();
}

// The window, shown, with its first phone list built.
inline std::unique_ptr<CVideoTransferWindow> openWindow()
{
    auto window = std::make_unique<CVideoTransferWindow>();
    window->show();
    return window;
}

// Which of the names the window shows now.
inline QStringList shownButtons(const CVideoTransferWindow &window, const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names) {
        if (const auto *widget = window.findChild<QWidget *>(name); widget && widget->isVisibleTo(&window))
            shown << name;
    }
    return shown;
}

inline QAction *entryAction(const CVideoTransferWindow &window, const QString &name)
{
    if (auto *action = window.findChild<QAction *>(name))
        return action;
    if (auto *menu = window.findChild<QMenu *>(name))
        return menu->menuAction();
    return nullptr;
}

// Entries both visible and enabled.
inline QStringList shownEntries(const CVideoTransferWindow &window, const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names) {
        if (const QAction *action = entryAction(window, name); action && action->isVisible() && action->isEnabled())
            shown << name;
    }
    return shown;
}

inline QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// What a rich-text label shows, without its markup.
inline QString plainText(const QLabel *label)
{
    QString text = label->text();
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text;
}

} // namespace WindowTest

namespace WindowTest {

// Replaces one text of the program while it lives, as a translation would.
class LongTranslation final : public QTranslator
{
public:
    LongTranslation(const char *context, const char *source, const QString &text)
        : m_context(context), m_source(source), m_text(text)
    {
        QCoreApplication::installTranslator(this);
    }
    ~LongTranslation() override { QCoreApplication::removeTranslator(this); }

    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return qstrcmp(context, m_context) == 0 && qstrcmp(source, m_source) == 0 ? m_text : QString();
    }

private:
    const char *m_context;
    const char *m_source;
    QString m_text;
};

} // namespace WindowTest

// The test's main, on a desktop-sized offscreen screen.
#define WINDOW_TEST_MAIN(TestObject)                                                                                   \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        WindowTest::useDesktopSizedScreen();                                                                           \
        QApplication app(argc, argv);                                                                                  \
        TestObject test;                                                                                               \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
