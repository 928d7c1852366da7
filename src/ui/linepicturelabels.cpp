#include "ui/linepicturelabels.h"

#include <utility>

#include "ui/linepictures.h"

void LinePictureLabels::Add(QLabel* label, std::string key, bool coated) {
    label->hide();
    entries_.push_back({label, std::move(key), coated, false});
}

void LinePictureLabels::SetCoating(const Coating& coating) {
    if (coating == coating_) return; // as drawn
    coating_ = coating;
    for (const Entry& entry : entries_)
        if (entry.coated && entry.drawn) {
            entry.drawn = false;
            Draw(entry);
        }
}

void LinePictureLabels::Show(int index) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const bool shown = static_cast<int>(i) == index;
        if (shown) Draw(entries_[i]);
        entries_[i].label->setVisible(shown);
    }
}

QLabel* LinePictureLabels::operator[](std::size_t index) const {
    const Entry& entry = entries_.at(index);
    Draw(entry);
    return entry.label;
}

void LinePictureLabels::Draw(const Entry& entry) const {
    if (entry.drawn) return;
    entry.label->setPixmap(
        LinePicture(entry.key, PictureDevicePixelRatio(), entry.coated ? coating_ : Coating{}));
    entry.drawn = true;
}
