#pragma once

#include <QWidget>

class QFrame;

// A page of the About box: a white panel with a raised inner and a lowered outer bevel.
QFrame* NewPagePanel(const QString& name, QWidget* parent);

// The widget that owns a page's panel while the panel is not shown elsewhere.
inline constexpr const char* PanelOwner = "PanelOwner";
class QLabel;
class QPlainTextEdit;
class QTabWidget;

// Holder of the About box's three hidden pages; never shown itself. Each page is a panel
// whose name, less "Panel", is the word that reveals it.
class TEasterEggsForm : public QWidget
{
    Q_OBJECT

public:
    TEasterEggsForm();

    QTabWidget* PageControl;
    QFrame* AuthorPanel;
    QLabel* Image1;
    QLabel* Label2;
    QLabel* Label1;
    QFrame* AddressesPanel;
    QPlainTextEdit* Addresses;
    QFrame* UpdatePanel;
    QLabel* DownloadNowLabel;

    // The hidden pages, wherever they are shown at the moment.
    QList<QFrame*> Pages() const;

    void FillPages(const QString& siteBase, const QString& softwareBase, const QString& productKey);
    void DownloadNowLabelClick();
    QString DownloadUrl() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* AddPage(const QString& panelName);

    QString FDownloadUrl;
};
