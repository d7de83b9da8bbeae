#include "sheets/contact_sheet_layout.h"

#include "archive/run_error.h"

#include <string>

namespace pagelark {

namespace {

// The column counts with which count pictures fit at one scale: from the
// fewest that keep the rows within the height to the most that fit the width.
struct ColumnRange {
    int fewest;
    int most;

    bool empty() const { return fewest > most; }
    int nearest(int wanted) const { return std::clamp(wanted, fewest, most); }
};

ColumnRange fittingColumns(int count, int scale)
{
    const SheetGeometry cell{{1, scale}, 0};
    const int room = LargestSheetSide - SheetGeometry::Margin;
    const int rowsThatFit = room / cell.cellHeight();
    if (rowsThatFit == 0)
        return {1, 0};
    const int mostColumns = std::min({room / cell.cellWidth(), MostSheetColumns, std::max(count, 1)});
    return {std::max((count + rowsThatFit - 1) / rowsThatFit, 1), mostColumns};
}

std::string options(SheetLayout layout)
{
    return "--scale " + std::to_string(layout.scale) + " --columns " + std::to_string(layout.columns) + " fits";
}

// What to ask for instead of a layout that is too large at its scale.
std::string advice(SheetLayout asked, int count, ItemKind kind)
{
    const std::string scale = "--scale " + std::to_string(asked.scale);
    const ColumnRange range = fittingColumns(count, asked.scale);
    const int wanted = std::min(asked.columns, count);
    if (!range.empty()) {
        const SheetLayout better{range.nearest(wanted), asked.scale};
        if (wanted > range.most)
            return "with " + scale + " at most " + std::to_string(range.most) + " columns fit: " + options(better);
        return "with " + scale + ", " + std::to_string(count) + (kind == ItemKind::Wall ? " walls" : " sprites")
            + " need at least " + std::to_string(range.fewest) + " columns: " + options(better);
    }
    const SheetGeometry cell{{1, asked.scale}, 0};
    const int columnsThatFit = std::min((LargestSheetSide - SheetGeometry::Margin) / cell.cellWidth(), count);
    std::string text = "with " + scale + " at most " + std::to_string(columnsThatFit) + " columns fit, and "
        + std::to_string(count) + (kind == ItemKind::Wall ? " walls" : " sprites");
    const std::optional<SheetLayout> smaller = largestFittingLayout(count, asked.columns);
    if (!smaller)
        return text + " do not fit on one sheet at any scale";
    return text + " need --scale " + std::to_string(smaller->scale) + " or less: " + options(*smaller);
}

}  // namespace

SheetGeometry sheetGeometry(SheetLayout layout, int count)
{
    layout.columns = std::clamp(layout.columns, 1, std::max(count, 1));
    return {layout, count};
}

std::optional<SheetLayout> fittingLayoutAtScale(int count, int scale, int wantedColumns)
{
    const ColumnRange range = fittingColumns(count, scale);
    if (range.empty())
        return std::nullopt;
    return SheetLayout{range.nearest(wantedColumns), scale};
}

std::optional<SheetLayout> largestFittingLayout(int count, int wantedColumns)
{
    for (int scale = LargestSheetScale; scale >= 1; --scale)
        if (const std::optional<SheetLayout> layout = fittingLayoutAtScale(count, scale, wantedColumns))
            return layout;
    return std::nullopt;
}

void checkSheetSize(SheetLayout layout, int count, ItemKind kind)
{
    if (layout.columns < 1 || layout.columns > MostSheetColumns || layout.scale < 1 || layout.scale > LargestSheetScale
        || count < 0 || count > ChunkSlots)
        throw RunError::message("a sheet takes 1 to " + std::to_string(MostSheetColumns) + " columns, a scale of 1 to "
                                + std::to_string(LargestSheetScale) + " and at most " + std::to_string(ChunkSlots)
                                + " pictures");
    // Within those bounds every size fits an int: at most 264200 x 6438912.
    const SheetGeometry geometry = sheetGeometry(layout, count);
    if (geometry.width() <= LargestSheetSide && geometry.height() <= LargestSheetSide)
        return;
    throw RunError::message("a sheet of " + std::to_string(geometry.width()) + " x " + std::to_string(geometry.height())
                            + " pixels is too large (at most " + std::to_string(LargestSheetSide) + " a side); "
                            + advice(layout, count, kind));
}

}  // namespace pagelark
