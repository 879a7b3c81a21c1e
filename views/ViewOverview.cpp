#include "views/ViewOverview.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

TfrmOverview::TfrmOverview(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("Overview"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    // The cell the keys are on stands out from across a room; the one under the pointer only shows
    // that a click would take it.
    setStyleSheet(QStringLiteral("QToolButton { border: 3px solid transparent; padding: 2px; }"
                                 "QToolButton:hover { border: 1px dashed palette(mid); padding: 4px; }"
                                 "QToolButton:focus { border: 3px solid palette(highlight); padding: 2px; }"));
    auto* layout = new QVBoxLayout(this);
    FHeading = new QLabel(QStringLiteral("All sites: click one or choose it with the arrow keys and Enter; Escape goes back."), this);
    FHeading->setWordWrap(true);
    layout->addWidget(FHeading);
    FGrid = new QGridLayout;
    layout->addLayout(FGrid, 1);
    setGeometry(window->rect());
    window->installEventFilter(this);
}

int TfrmOverview::Columns() const
{
    return qMax(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(Cells.size())))));
}

void TfrmOverview::SetSites(int count, int current)
{
    qDeleteAll(Cells);
    Cells.clear();
    for (int i = 0; i < count; ++i) {
        auto* cell = new QToolButton(this);
        cell->setObjectName(QStringLiteral("OverviewCell%1").arg(i));
        cell->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        cell->setAutoRaise(true);
        cell->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        cell->setFocusPolicy(Qt::StrongFocus);
        connect(cell, &QToolButton::clicked, this, [this, i] { Q_EMIT Picked(i); });
        // A button would take the arrows for moving along the focus chain.
        cell->installEventFilter(this);
        Cells.append(cell);
    }
    const int columns = Columns();
    for (int i = 0; i < Cells.size(); ++i)
        FGrid->addWidget(Cells.at(i), i / columns, i % columns);
    for (int column = 0; column < columns; ++column)
        FGrid->setColumnStretch(column, 1);
    if (QToolButton* cell = Cells.value(current))
        cell->setFocus();
}

QSize TfrmOverview::PictureSize() const
{
    const int columns = Columns();
    const int rows = qMax(1, static_cast<int>(std::ceil(Cells.size() / static_cast<double>(columns))));
    const int text = fontMetrics().height() * 2;
    const QRect area = FGrid->geometry().isValid() ? FGrid->geometry() : rect();
    return QSize(qMax(16, area.width() / columns - 24), qMax(16, area.height() / rows - text - 24));
}

void TfrmOverview::SetCaption(int site, QString caption)
{
    // A page's title: no mnemonic may come from it.
    if (QToolButton* cell = Cells.value(site))
        cell->setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

void TfrmOverview::SetPicture(int site, const QPixmap& picture)
{
    if (QToolButton* cell = Cells.value(site)) {
        // The whole page, however its shape differs from the cell's (a tile is not a window).
        const QPixmap scaled = picture.scaled(PictureSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        cell->setIconSize(scaled.size());
        cell->setIcon(scaled);
    }
}

void TfrmOverview::MoveFocus(int by)
{
    const int at = Cells.indexOf(qobject_cast<QToolButton*>(focusWidget()));
    const int to = at < 0 ? 0 : at + by;
    if (QToolButton* cell = Cells.value(to))
        cell->setFocus();
}

void TfrmOverview::keyPressEvent(QKeyEvent* event)
{
    if (TakeKey(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool TfrmOverview::TakeKey(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        Q_EMIT CloseRequested();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* cell = qobject_cast<QToolButton*>(focusWidget()); cell && Cells.contains(cell))
            cell->click();
        break;
    case Qt::Key_Left:
        MoveFocus(-1);
        break;
    case Qt::Key_Right:
        MoveFocus(+1);
        break;
    case Qt::Key_Up:
        MoveFocus(-Columns());
        break;
    case Qt::Key_Down:
        MoveFocus(Columns());
        break;
    default:
        return false;
    }
    return true;
}

// It covers the whole window, whatever size that takes.
bool TfrmOverview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    if (event->type() == QEvent::KeyPress && Cells.contains(qobject_cast<QToolButton*>(watched)))
        return TakeKey(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}
