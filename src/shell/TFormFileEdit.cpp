#include "shell/TFormFileEdit.h"

#include "common/CodePage.h"
#include "common/Files.h"
#include "common/Messages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>

QString ViewerTextFromBytes(const QByteArray& bytes, bool isXml) {
    if (!isXml) return FromCp1251(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return FromCp1251(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

TFormFileEdit::TPlace& TFormFileEdit::LastPlace() {
    static TPlace place;
    return place;
}

TFormFileEdit::TFormFileEdit(QWidget* parent) : QMainWindow(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TFormFileEdit"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Перегляд файлу"));
    resize(720, 500);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("MemoFile"));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    if (!QFontInfo(font).fixedPitch()) {
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed.setPixelSize(13);
        font = fixed;
    }
    text_->setFont(font);
    setCentralWidget(text_);
    BuildCommands();
}

void TFormFileEdit::BuildCommands() {
    auto add = [this](QMenu* menu, const QString& name, const QString& caption, const QKeySequence& key) {
        auto* a = new QAction(caption, this);
        a->setObjectName(name);
        if (!key.isEmpty()) a->setShortcut(key);
        menu->addAction(a);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    QAction* save =
        add(file, QStringLiteral("FileSave"), QStringLiteral("Зберегти"), QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setVisible(false);
    // Hidden from the menu, the short-cut still answers.
    addAction(save);
    QAction* exitA =
        add(file, QStringLiteral("FileExit"), QStringLiteral("Вихід"), QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(save, &QAction::triggered, this,
            [] { ShowWarning(QStringLiteral("Дія заборонена політикою прав користувача програми.")); });
    connect(exitA, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Правка"));
    QAction* undo = add(edit, QStringLiteral("EditUndo"), QStringLiteral("Повернути"),
                        QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addSeparator();
    QAction* cut =
        add(edit, QStringLiteral("EditCut"), QStringLiteral("Вирізати"), QKeySequence(Qt::CTRL | Qt::Key_X));
    QAction* copy = add(edit, QStringLiteral("EditCopy"), QStringLiteral("Копіювати"),
                        QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* paste = add(edit, QStringLiteral("EditPaste"), QStringLiteral("Вставити"),
                         QKeySequence(Qt::CTRL | Qt::Key_V));
    QAction* del =
        add(edit, QStringLiteral("EditDelete"), QStringLiteral("Видалити"), QKeySequence(Qt::Key_Delete));
    edit->addSeparator();
    QAction* all = add(edit, QStringLiteral("EditSelectAll"), QStringLiteral("Виділити все"),
                       QKeySequence(Qt::CTRL | Qt::Key_A));
    for (QAction* a : {undo, cut, copy, paste, del, all})
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(undo, &QAction::triggered, text_, &QPlainTextEdit::undo);
    connect(cut, &QAction::triggered, text_, &QPlainTextEdit::cut);
    connect(copy, &QAction::triggered, text_, &QPlainTextEdit::copy);
    connect(paste, &QAction::triggered, text_, &QPlainTextEdit::paste);
    connect(del, &QAction::triggered, text_, [this] {
        QTextCursor c = text_->textCursor();
        if (c.hasSelection())
            c.removeSelectedText();
        else
            c.deleteChar();
        text_->setTextCursor(c);
    });
    connect(all, &QAction::triggered, text_, &QPlainTextEdit::selectAll);

    QMenu* search = menuBar()->addMenu(QStringLiteral("Пошук"));
    QAction* find = add(search, QStringLiteral("SearchFind"), QStringLiteral("Знайти"),
                        QKeySequence(Qt::CTRL | Qt::Key_F));
    QAction* next = add(search, QStringLiteral("SearchFindNext"), QStringLiteral("Шукати далі"),
                        QKeySequence(Qt::Key_F3));
    QAction* first =
        add(search, QStringLiteral("SearchFindFirst"), QStringLiteral("Знайти перше"), QKeySequence());
    QAction* replace =
        add(search, QStringLiteral("SearchReplace"), QStringLiteral("Замінити"), QKeySequence());
    connect(find, &QAction::triggered, this, [this] { ShowFindDialog(false); });
    connect(replace, &QAction::triggered, this, [this] { ShowFindDialog(true); });
    connect(next, &QAction::triggered, this, [this] {
        if (lastFind_.isEmpty())
            ShowFindDialog(false);
        else
            FindText(lastFind_, false, lastCase_);
    });
    connect(first, &QAction::triggered, this, [this] {
        if (lastFind_.isEmpty())
            ShowFindDialog(false);
        else
            FindText(lastFind_, true, lastCase_);
    });

    QToolBar* bar = addToolBar(QStringLiteral("Правка"));
    bar->setObjectName(QStringLiteral("ToolBarEdit"));
    bar->setMovable(false);
    bar->setIconSize(QSize(16, 16));
    QStyle* st = style();
    cut->setIcon(st->standardIcon(QStyle::SP_DialogDiscardButton));
    copy->setIcon(st->standardIcon(QStyle::SP_FileDialogDetailedView));
    paste->setIcon(st->standardIcon(QStyle::SP_DialogApplyButton));
    del->setIcon(st->standardIcon(QStyle::SP_TrashIcon));
    find->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
    for (QAction* a : {cut, copy, paste, del, find})
        bar->addAction(a);
}

bool TFormFileEdit::LoadFile(const QString& path, QString* error) {
    bool ok = false;
    const QByteArray bytes = ReadFileBytes(path, &ok);
    if (!ok) {
        if (error) *error = QStringLiteral("Не вдалось прочитати файл \"") + path + QStringLiteral("\"");
        return false;
    }
    path_ = path;
    text_->setPlainText(ViewerTextFromBytes(bytes, FileExtLower(path) == QLatin1String(".xml")));
    text_->document()->setModified(false);
    return true;
}

bool TFormFileEdit::FindText(const QString& what, bool fromStart, bool caseSensitive) {
    lastFind_ = what;
    lastCase_ = caseSensitive;
    if (what.isEmpty()) return false;
    QTextDocument::FindFlags flags;
    if (caseSensitive) flags |= QTextDocument::FindCaseSensitively;
    QTextCursor from = text_->textCursor();
    if (fromStart) from.movePosition(QTextCursor::Start);
    const QTextCursor found = text_->document()->find(what, from, flags);
    if (found.isNull()) {
        ShowInfo(QStringLiteral("Текст \"") + what + QStringLiteral("\" не знайдено."));
        return false;
    }
    text_->setTextCursor(found);
    text_->ensureCursorVisible();
    return true;
}

int TFormFileEdit::ReplaceText(const QString& what, const QString& with, bool all, bool caseSensitive) {
    if (what.isEmpty()) return 0;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QTextDocument::FindFlags flags;
    if (caseSensitive) flags |= QTextDocument::FindCaseSensitively;
    int count = 0;
    if (all) {
        QTextCursor c(text_->document());
        c.beginEditBlock();
        QTextCursor found = text_->document()->find(what, 0, flags);
        while (!found.isNull()) {
            found.insertText(with);
            ++count;
            found = text_->document()->find(what, found, flags);
        }
        c.endEditBlock();
        return count;
    }
    QTextCursor cur = text_->textCursor();
    if (cur.hasSelection() && QString::compare(cur.selectedText(), what, cs) == 0) {
        cur.insertText(with);
        text_->setTextCursor(cur);
        count = 1;
    }
    FindText(what, false, caseSensitive);
    return count;
}

void TFormFileEdit::ShowFindDialog(bool replace) {
    delete findDialog_;
    auto* dlg = new QDialog(this);
    findDialog_ = dlg;
    dlg->setObjectName(replace ? QStringLiteral("ReplaceDialog") : QStringLiteral("FindDialog"));
    dlg->setWindowTitle(replace ? QStringLiteral("Замінити") : QStringLiteral("Знайти"));
    auto* grid = new QGridLayout(dlg);
    auto* what = new QLineEdit(lastFind_, dlg);
    what->setObjectName(QStringLiteral("EFindText"));
    what->setMinimumWidth(240);
    grid->addWidget(new QLabel(QStringLiteral("Знайти:"), dlg), 0, 0);
    grid->addWidget(what, 0, 1);
    QLineEdit* with = nullptr;
    if (replace) {
        with = new QLineEdit(dlg);
        with->setObjectName(QStringLiteral("EReplaceText"));
        grid->addWidget(new QLabel(QStringLiteral("Замінити на:"), dlg), 1, 0);
        grid->addWidget(with, 1, 1);
    }
    auto* cs = new QCheckBox(QStringLiteral("З урахуванням регістру"), dlg);
    cs->setChecked(lastCase_);
    grid->addWidget(cs, 2, 1);
    auto* buttons = new QDialogButtonBox(Qt::Vertical, dlg);
    QPushButton* next = buttons->addButton(QStringLiteral("Знайти далі"), QDialogButtonBox::ActionRole);
    next->setDefault(true);
    if (replace) {
        QPushButton* one = buttons->addButton(QStringLiteral("Замінити"), QDialogButtonBox::ActionRole);
        QPushButton* every = buttons->addButton(QStringLiteral("Замінити все"), QDialogButtonBox::ActionRole);
        connect(one, &QPushButton::clicked, this,
                [this, what, with, cs] { ReplaceText(what->text(), with->text(), false, cs->isChecked()); });
        connect(every, &QPushButton::clicked, this,
                [this, what, with, cs] { ReplaceText(what->text(), with->text(), true, cs->isChecked()); });
    }
    QPushButton* close = buttons->addButton(QStringLiteral("Закрити"), QDialogButtonBox::RejectRole);
    connect(close, &QPushButton::clicked, dlg, &QDialog::reject);
    connect(next, &QPushButton::clicked, this,
            [this, what, cs] { FindText(what->text(), false, cs->isChecked()); });
    grid->addWidget(buttons, 0, 2, 3, 1);
    dlg->show();
}

void TFormFileEdit::closeEvent(QCloseEvent* e) {
    TPlace& p = LastPlace();
    const QRect g = geometry();
    p.Top = g.top();
    p.Left = g.left();
    p.Width = g.width();
    p.Height = g.height();
    QMainWindow::closeEvent(e);
}

void TFormFileEdit::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    // Minimising the viewer takes the whole program down with it.
    if (e->type() == QEvent::WindowStateChange && isMinimized() && parentWidget())
        parentWidget()->window()->showMinimized();
}

TFormFileEdit* ShowFileViewer(const QString& path, QWidget* owner) {
    auto* viewer = new TFormFileEdit(owner);
    QString error;
    if (!viewer->LoadFile(path, &error)) {
        delete viewer;
        ShowError(error);
        return nullptr;
    }
    QRect g(0, 0, 720, 500);
    const QRect around =
        owner
            ? owner->window()->frameGeometry()
            : (QApplication::primaryScreen() ? QApplication::primaryScreen()->availableGeometry() : QRect());
    g.moveCenter(around.center());
    const TFormFileEdit::TPlace& p = TFormFileEdit::LastPlace();
    if (p.Top != 0) g.moveTop(p.Top);
    if (p.Left != 0) g.moveLeft(p.Left);
    if (p.Width != 0) g.setWidth(p.Width);
    if (p.Height != 0) g.setHeight(p.Height);
    viewer->setGeometry(g);
    viewer->show();
    return viewer;
}
