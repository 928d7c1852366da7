// The labels that show the line types' cross-sections in the window, one per
// line type in tab order.  Only one is ever visible, so a picture is drawn
// when its label is first shown or first taken from here, not when the
// window is built: drawing them all would delay the window's first
// appearance.  A label taken from here always holds its picture.
#pragma once

#include <QLabel>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

#include "core/lineinputs.h"

class LinePictureLabels {
  public:
    // A label for the picture of `key` (a descriptor's `picture`), hidden and
    // not drawn yet; `coated`: the picture shows the coating.
    void Add(QLabel* label, std::string key, bool coated);

    // The coating the coated pictures show: those already drawn are drawn
    // again if it changed, the others take it when they are first drawn.
    void SetCoating(const Coating& coating);

    // Shows the label of `index` (drawn if it was not), hides the others; an
    // index without a label hides them all.
    void Show(int index);

    std::size_t size() const { return entries_.size(); }
    QLabel* operator[](std::size_t index) const;

    class iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = QLabel*;
        using difference_type = std::ptrdiff_t;
        using pointer = QLabel**;
        using reference = QLabel*;

        iterator(const LinePictureLabels* owner, std::size_t index)
            : owner_(owner), index_(index) {}
        QLabel* operator*() const { return (*owner_)[index_]; }
        iterator& operator++() {
            ++index_;
            return *this;
        }
        bool operator==(const iterator& other) const { return index_ == other.index_; }
        bool operator!=(const iterator& other) const { return index_ != other.index_; }

      private:
        const LinePictureLabels* owner_;
        std::size_t index_;
    };
    iterator begin() const { return {this, 0}; }
    iterator end() const { return {this, entries_.size()}; }

  private:
    struct Entry {
        QLabel* label;
        std::string key;
        bool coated;
        mutable bool drawn;
    };
    // Draws the picture of `entry` at the application's ratio, once.
    void Draw(const Entry& entry) const;

    std::vector<Entry> entries_;
    Coating coating_;
};
