#include "app/ui/TFormSplash.h"

#include "app/GlobalVar.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TFormSplash::TFormSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TFormSplash"));
    setFixedSize(440, 220);
    setStyleSheet(QStringLiteral(
        "TFormSplash{background:qlineargradient(x1:0,y1:0,x2:0,y2:1,stop:0 #2f6b3a,stop:1 #1d4426);}"
        "QLabel{color:white;}"));
    setAttribute(Qt::WA_StyledBackground);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(28, 28, 28, 20);
    programName_ = new QLabel(this);
    programName_->setObjectName(QStringLiteral("ProgramName"));
    QFont f = programName_->font();
    f.setPointSize(22);
    f.setBold(true);
    programName_->setFont(f);
    programName_->setText(GlobalVar().AppName + '\n' + QStringLiteral(" v") + GlobalVar().AppVersion);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Status"));
    lay->addWidget(programName_);
    lay->addStretch();
    lay->addWidget(status_);
    if (auto* screen = QApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
}

void TFormSplash::SetStatus(const QString& text) {
    status_->setText(text);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString TFormSplash::StatusText() const {
    return status_->text();
}
QString TFormSplash::ProgramNameText() const {
    return programName_->text();
}
