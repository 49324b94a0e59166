#include "platform/qt/RadioGroup.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zeko {

TRadioGroup::TRadioGroup(const char* name, const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // A caption of its own rather than a group box title, which cuts off the
    // accents above capitals ("Ř") at its top edge.
    caption_ = new QLabel(caption, this);
    caption_->setContentsMargins(0, 3, 0, 1);
    layout->addWidget(caption_);
    auto* box = new QFrame(this);
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    layout->addWidget(box, 1);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(8, 2, 8, 2);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        button->setObjectName(QString::fromUtf8(name) + QString::number(i));
        grid->addWidget(button, i / columns, i % columns);
        // Only a click that changes the choice counts.
        connect(button, &QRadioButton::clicked, this, [this, i] {
            if (i == index_)
                return;
            index_ = i;
            if (OnClick)
                OnClick(this);
        });
        buttons_.push_back(button);
    }
}

void TRadioGroup::SetItemIndex(int index) {
    index_ = index >= 0 && index < static_cast<int>(buttons_.size()) ? index : -1;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        // An exclusive button refuses to be unchecked by itself.
        buttons_[i]->setAutoExclusive(false);
        buttons_[i]->setChecked(static_cast<int>(i) == index_);
        buttons_[i]->setAutoExclusive(true);
    }
}

} // namespace zeko
