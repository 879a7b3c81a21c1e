#pragma once

#include <QLayout>
#include <QList>

enum class TAlign { None, Top, Bottom, Client };

// Edge alignment as desktop forms know it: strips stacked along the top and the bottom edge
// at their own heights, one control filling the rest. A control newly aligned to an edge
// becomes the strip nearest the middle; one already aligned there keeps its place.
class TAlignLayout : public QLayout
{
public:
    explicit TAlignLayout(QWidget* parent = nullptr);
    ~TAlignLayout() override;

    void SetAlign(QWidget* widget, TAlign align);
    TAlign Align(const QWidget* widget) const;
    // The strips along one edge, shown or not,, from the edge towards the middle.
    QList<QWidget*> Strips(TAlign edge) const;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct TEntry
    {
        QLayoutItem* Item;
        TAlign Align;
    };
    int IndexOf(const QWidget* widget) const;
    QSize Size(bool minimum) const;

    QList<TEntry> FEntries;
};
