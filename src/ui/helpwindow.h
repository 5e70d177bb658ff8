// The rules (HELP.HTM) in a window of the game: the page with its links, and a find field.
// Help never depends on a browser or on what the desktop opens an HTML file with.
#pragma once

#include <QWidget>

class QLineEdit;
class QTextBrowser;
class QUrl;

namespace tavlon::ui {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* owner);
    // Shows the page at `url` (a local file) and brings the window to the front.
    void ShowPage(const QUrl& url);
    // Selects the next (or previous) place holding the find field's text, going round the
    // page's end; false when the page holds it nowhere.
    bool FindNext(bool backwards = false);

    QTextBrowser* Browser() const { return browser_; }
    QLineEdit* FindField() const { return find_; }

  private:
    QTextBrowser* browser_;
    QLineEdit* find_;
};

} // namespace tavlon::ui
