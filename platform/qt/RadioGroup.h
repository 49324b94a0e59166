#pragma once
// TRadioGroup: the class library's radio group, a caption over a frame with one
// radio button per item, of which one is chosen (ItemIndex, -1 for none). A click
// of the user that chooses another item runs OnClick; SetItemIndex chooses without
// it. The buttons are named after the group and their index ("Rgp_Razeni0", ...).
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QRadioButton;

namespace zeko {

class TRadioGroup : public QWidget {
    Q_OBJECT
public:
    // The items stand side by side in `columns` columns, as many rows as they need.
    TRadioGroup(const char* name, const QString& caption, const QStringList& items, int columns = 1,
                QWidget* parent = nullptr);

    int ItemIndex() const { return index_; }
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }
    QLabel* Caption() const { return caption_; }

    std::function<void(TRadioGroup*)> OnClick;

private:
    QLabel* caption_ = nullptr;
    std::vector<QRadioButton*> buttons_;
    int index_ = -1;
};

} // namespace zeko
