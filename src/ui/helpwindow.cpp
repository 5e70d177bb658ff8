#include "ui/helpwindow.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlon::ui {

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)), find_(new QLineEdit(this)) {
    setObjectName(u"help"_s);
    setWindowTitle(u"Tavlon — правила"_s);
    resize(680, 600);
    // Anchors within the page and other local pages open here; web addresses go to the
    // desktop, which is all a link outside the rules can mean.
    browser_->setOpenExternalLinks(true);
    find_->setObjectName(u"helpFind"_s);
    find_->setPlaceholderText(u"Найти на странице"_s);
    find_->setClearButtonEnabled(true);
    auto* previous = new QPushButton(u"Предыдущее"_s, this);
    auto* next = new QPushButton(u"Следующее"_s, this);
    previous->setAutoDefault(false);
    next->setAutoDefault(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(u"Найти:"_s, this));
    bar->addWidget(find_, 1);
    bar->addWidget(previous);
    bar->addWidget(next);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(browser_, 1);

    connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(find_, &QLineEdit::textEdited, this, [this] {
        // Typing searches from the start of the current find again.
        QTextCursor at = browser_->textCursor();
        at.setPosition(at.selectionStart());
        browser_->setTextCursor(at);
        FindNext();
    });
    connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
    const auto shortcut = [this](const QKeySequence& keys, auto&& act) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, act);
        addAction(action);
    };
    shortcut(QKeySequence::Find, [this] {
        find_->setFocus();
        find_->selectAll();
    });
    shortcut(QKeySequence::FindNext, [this] { FindNext(); });
    shortcut(QKeySequence::FindPrevious, [this] { FindNext(true); });
    shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });
}

void HelpWindow::ShowPage(const QUrl& url) {
    // The same file again is read again: it may have changed since.
    if (browser_->source() == url)
        browser_->reload();
    else
        browser_->setSource(url);
    show();
    raise();
    activateWindow();
}

bool HelpWindow::FindNext(bool backwards) {
    const QString text = find_->text();
    if (text.isEmpty()) {
        find_->setPalette(QPalette());
        return false;
    }
    const QTextDocument::FindFlags flags =
        backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = browser_->find(text, flags);
    if (!found) {
        // Round the end of the page.
        QTextCursor wrap = browser_->textCursor();
        wrap.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
        browser_->setTextCursor(wrap);
        found = browser_->find(text, flags);
    }
    // A text the page does not hold turns the field pink, as browsers do.
    QPalette shown;
    if (!found)
        shown.setColor(QPalette::Base, QColor(255, 200, 200));
    find_->setPalette(shown);
    return found;
}

} // namespace tavlon::ui
