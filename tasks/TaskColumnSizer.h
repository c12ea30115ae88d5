#pragma once

#include <array>

class QTreeWidget;

// Keeps the four visible columns of the task list in proportion when the list is resized: each
// column takes its share of the change of width ("Input File" .49, "Length" .17, "Size" .15,
// "Status" .19), each rounded by itself, halves to the even neighbour.
class TaskColumnSizer
{
public:
    static constexpr int InitialWidth = 562;

    // The four widths after the list grew by delta pixels (shrank when negative).
    static std::array<int, 4> ResizedWidths(const std::array<int, 4> &widths, int delta);

    // Applies the change since the last seen width to the list's columns; false when the width
    // did not change.
    bool Resize(QTreeWidget *list);

    int LastSeenWidth() const { return FLastSeenWidth; }

private:
    int FLastSeenWidth = InitialWidth;
};
