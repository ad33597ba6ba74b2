#include "aboutdialog.h"

#include "dialogparts.h"
#include "theme.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

using T = CTheme;

constexpr int kWidth = 420;
constexpr int kMinimumHeight = 280;
constexpr int kNamePointSize = 18;
const QColor kNoticeColor(170, 180, 195);
const QColor kOutline(12, 15, 20);

// A surface painted from one theme element.
class ThemedPanel final : public QWidget
{
public:
    ThemedPanel(T::Element element, int state, QWidget *parent) : QWidget(parent), m_element(element), m_state(state)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        T::paint(&painter, m_element, m_state, rect());
    }

private:
    T::Element m_element;
    int m_state;
};

QLabel *colouredLabel(const QString &text, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::All, QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace

CAboutDialog::CAboutDialog(QWidget *parent) : CDialog(parent, tr("About Orvak Tamsel"))
{
    setObjectName(QStringLiteral("aboutDialog"));
    setFixedWidth(kWidth);

    auto *content = new QVBoxLayout(contentFrame());
    content->setContentsMargins(20, 12, 20, 20);
    content->setSpacing(16);

    auto *header = new QHBoxLayout;
    header->setSpacing(16);
    auto *icon = new QLabel(contentFrame());
    icon->setObjectName(QStringLiteral("appIcon"));
    const QPixmap appIcon = T::pixmap(T::AboutDialogAppIcon);
    icon->setPixmap(appIcon);
    icon->setFixedSize(logicalSize(appIcon));
    header->addWidget(icon, 0, Qt::AlignTop);

    auto *names = new QVBoxLayout;
    names->setSpacing(2);
    auto *logo = colouredLabel(QString(), Qt::white, contentFrame());
    logo->setObjectName(QStringLiteral("programName"));
    logo->setAccessibleName(QStringLiteral("Orvak Tamsel"));
    const QPixmap logoPicture = T::pixmap(T::AboutDialogLogo);
    if (logoPicture.isNull()) {
        logo->setText(QStringLiteral("Orvak Tamsel"));
        QFont big = logo->font();
        big.setPointSize(kNamePointSize);
        logo->setFont(big);
    } else {
        logo->setPixmap(logoPicture);
    }
    names->addWidget(logo);
    auto *version = colouredLabel(tr("version %1").arg(versionNumber()), Qt::white, contentFrame());
    version->setObjectName(QStringLiteral("versionLabel"));
    names->addWidget(version);
    names->addStretch();
    header->addLayout(names, 1);
    content->addLayout(header);

    auto *panel = new ThemedPanel(T::AboutDialogPanel, T::Background, contentFrame());
    panel->setObjectName(QStringLiteral("legalPanel"));
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(14, 12, 14, 12);
    auto *notice = colouredLabel(
        tr("Orvak Tamsel is free software: you can redistribute it and change it under the terms of the GNU General "
           "Public License, version 2 or (at your option) any later version. It comes with no warranty.\n\n"
           "It uses FFmpeg, built with libx264 and distributed under the GNU General Public License, and Qt, under "
           "the GNU Lesser General Public License version 3. Its font is Open Sans, under the Apache License 2.0."),
        kNoticeColor, panel);
    notice->setObjectName(QStringLiteral("legalNotice"));
    notice->setTextFormat(Qt::PlainText);
    notice->setWordWrap(true);
    panelLayout->addWidget(notice);
    content->addWidget(panel);
    content->addStretch();

    // Tall enough for the notice as it wraps in this width and language.
    ensurePolished();
    setFixedHeight(qMax(kMinimumHeight, heightForWidth(kWidth)));
}

CAboutDialog::~CAboutDialog() = default;

QString CAboutDialog::versionNumber()
{
    return QStringLiteral("1.5.10");
}

void CAboutDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    T::paint(&painter, T::AboutDialog, T::Background, rect());
    painter.setPen(kOutline);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CAboutDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        accept();
        return;
    }
    CDialog::keyPressEvent(event);
}
