#include "shell/TFormWait.h"

#include "common/Messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

TFormWait::TFormWait(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TFormWait"));
    setModal(true);
    setFixedSize(388, 83);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("PanelWait"));
    frame->setFrameShape(QFrame::Box);
    frame->setStyleSheet(QStringLiteral("#PanelWait{border:1px solid #5a7fa8;background:#f4f7fb;}"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    auto* lay = new QVBoxLayout(frame);
    lay->setContentsMargins(10, 6, 10, 8);
    lay->setSpacing(4);
    auto* top = new QHBoxLayout();
    head_ = new QLabel(QStringLiteral("Зачекайте будь-ласка: "), frame);
    head_->setObjectName(QStringLiteral("LabelHead"));
    QFont bold = head_->font();
    bold.setBold(true);
    head_->setFont(bold);
    status_ = new QLabel(frame);
    status_->setObjectName(QStringLiteral("LabelStatus"));
    status_->setMinimumWidth(60);
    top->addWidget(head_);
    top->addWidget(status_, 1);
    lay->addLayout(top);

    auto* row = new QHBoxLayout();
    bar_ = new QProgressBar(frame);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setTextVisible(false);
    bar_->setFixedHeight(16);
    counter_ = new QLabel(frame);
    counter_->setObjectName(QStringLiteral("LabelCounter"));
    counter_->setMinimumWidth(70);
    counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stop_ = new QPushButton(QStringLiteral("Стоп"), frame);
    stop_->setObjectName(QStringLiteral("BStop"));
    stop_->setAutoDefault(false);
    row->addWidget(bar_, 1);
    row->addWidget(counter_);
    row->addWidget(stop_);
    lay->addLayout(row);

    jobTimer_ = new QTimer(this);
    jobTimer_->setSingleShot(true);
    jobTimer_->setInterval(10);
    connect(jobTimer_, &QTimer::timeout, this, &TFormWait::RunPreparedJob);
    resultTimer_ = new QTimer(this);
    resultTimer_->setSingleShot(true);
    resultTimer_->setInterval(1);
    connect(resultTimer_, &QTimer::timeout, this, &TFormWait::ShowResult);

    connect(stop_, &QPushButton::clicked, this, [this] {
        stopRequested_ = true;
        QApplication::processEvents();
    });

    PrepareWait(true, QString());
}

void TFormWait::PrepareWait(bool showMessages, const QString& infoText) {
    result_ = TMessages{};
    resultCaption_.clear();
    showMessages_ = showMessages;
    infoText_ = infoText;
    gauge_.Set(100, 0);
    UpdateGauge();
    ShowProgress(true);
    jobTimer_->stop();
    resultTimer_->stop();
    status_->clear();
    stopRequested_ = false;
    stop_->setEnabled(false);
}

int TFormWait::RunJob(const TWaitJob& job) {
    SetJob(job);
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return exec();
}

void TFormWait::SetProgress(int maximum, int position) {
    gauge_.Set(maximum, position);
    UpdateGauge();
}

void TFormWait::StepProgress() {
    gauge_.Step();
    UpdateGauge();
}

void TFormWait::ShowProgress(bool on) {
    bar_->setVisible(on);
    counter_->setVisible(on);
}

void TFormWait::SetWaitStatus(const QString& text) {
    status_->setText(text);
    status_->repaint();
    QApplication::processEvents();
}

void TFormWait::EnableStop(bool on) {
    stop_->setEnabled(on);
}

QString TFormWait::CounterText() const {
    return counter_->text();
}
QString TFormWait::StatusText() const {
    return status_->text();
}

void TFormWait::UpdateGauge() {
    // A maximum below the position would clamp the position; keep the bar sensible for any values.
    bar_->setRange(0, qMax(gauge_.Maximum, 0));
    bar_->setValue(qBound(0, gauge_.Position, qMax(gauge_.Maximum, 0)));
    counter_->setText(gauge_.CounterText());
}

void TFormWait::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    closing_ = false;
    if (job_) jobTimer_->start();
}

void TFormWait::RunPreparedJob() {
    resultCaption_ = QStringLiteral("Word");
    ShowProgress(false);
    SetWaitStatus(QStringLiteral("Запуск Word..."));
    TMessages messages;
    const TWaitJob job = job_;
    job_ = nullptr;
    try {
        if (job) job(*this, messages);
    } catch (const std::exception& ex) {
        messages.ErrorTitle = QString::fromUtf8(ex.what());
    } catch (...) {
        messages.ErrorTitle = QStringLiteral("Невідома помилка.");
    }
    result_.WarningText = messages.WarningText;
    result_.ErrorTitle = messages.ErrorTitle;
    result_.ErrorDetails = messages.ErrorDetails;
    resultTimer_->start();
}

void TFormWait::ShowResult() {
    if (showMessages_) {
        const TWaitResultBox box = WaitResultBox(result_, resultCaption_, infoText_);
        switch (box.kind) {
        case TWaitResultBox::Error:
            ShowError(box.caption, box.text);
            break;
        case TWaitResultBox::Warning:
            ShowWarning(box.text);
            break;
        case TWaitResultBox::Info:
            ShowInfo(box.text);
            break;
        case TWaitResultBox::None:
            break;
        }
    }
    closing_ = true;
    done(QDialog::Rejected);
}

void TFormWait::closeEvent(QCloseEvent* e) {
    // The user cannot close the window; it closes itself after the job.
    if (!closing_) e->ignore();
}

void TFormWait::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(e);
}

void TFormWait::reject() {
    if (closing_) QDialog::reject();
}
