#include "tasks/TaskColumnSizer.h"

#include <QTreeWidget>

std::array<int, 4> TaskColumnSizer::ResizedWidths(const std::array<int, 4> &widths, int delta)
{
    // Shares in hundredths, so that an exact half stays exact (81 + 10 x .15 = 82.5 goes to 82).
    static constexpr long long Shares[4] = {49, 17, 15, 19};
    std::array<int, 4> result{};
    for (int c = 0; c < 4; ++c) {
        const long long hundredths = widths[c] * 100LL + delta * Shares[c];
        long long whole = hundredths / 100;
        long long rest = hundredths % 100;
        if (rest < 0) {
            rest += 100;
            --whole;
        }
        if (rest > 50 || (rest == 50 && whole % 2 != 0))
            ++whole;
        result[c] = int(whole);
    }
    return result;
}

bool TaskColumnSizer::Resize(QTreeWidget *list)
{
    const int delta = list->width() - FLastSeenWidth;
    FLastSeenWidth = list->width();
    if (delta == 0)
        return false;
    std::array<int, 4> widths{};
    for (int c = 0; c < 4; ++c)
        widths[c] = list->columnWidth(c);
    const std::array<int, 4> resized = ResizedWidths(widths, delta);
    for (int c = 0; c < 4; ++c)
        list->setColumnWidth(c, resized[c]);
    return true;
}
