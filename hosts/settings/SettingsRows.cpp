// The top pane's rows as the `settings rows` request reports them.

#include "SettingsControl.h"

#include "ui/UISlider.h"
#include "ui/UISwitch.h"
#include "ui/UITextField.h"

#include <cstdlib>

namespace settings {

namespace {

bool parseIndex(const std::string& text, int& index)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    index = std::atoi(text.c_str());
    return true;
}

const char* accessoryName(int type)
{
    switch (type) {
    case UITableViewCellAccessoryDisclosureIndicator:
        return "disclosure";
    case UITableViewCellAccessoryDetailDisclosureButton:
        return "detail";
    case UITableViewCellAccessoryCheckmark:
        return "checkmark";
    default:
        return "none";
    }
}

// A cell of the default style has no detail label, as a choice list's rows have none.
std::string detailOf(const UITableViewCellRef& cell)
{
    const UILabelRef& detail = cell->detailTextLabel();
    return detail ? detail->text() : std::string();
}

std::string formatted(double number)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", number);
    return text;
}

// The row's value: what its control holds, else its detail text; written into the JSON and
// answered as text (empty when the row shows none).
std::string writeValue(const UITableViewCellRef& cell, JsonWriter& json)
{
    json.key("value");
    if (auto toggle = findSubview<UISwitch>(cell)) {
        json.value(toggle->isOn());
        return toggle->isOn() ? "on" : "off";
    }
    if (auto slider = findSubview<UISlider>(cell)) {
        json.value(double(slider->value()));
        return formatted(slider->value());
    }
    if (auto field = findSubview<UITextField>(cell)) {
        json.value(field->text());
        return "\"" + field->text() + "\"" + (field->isEditing() ? " (editing)" : "");
    }
    std::string detail = detailOf(cell);
    if (detail.empty()) {
        json.null();
        return "";
    }
    json.value(detail);
    return detail;
}

} // namespace

std::optional<RowAddress> parseRowAddress(const std::string& text)
{
    size_t colon = text.find(':');
    RowAddress address {};
    if (colon == std::string::npos || !parseIndex(text.substr(0, colon), address.section)
        || !parseIndex(text.substr(colon + 1), address.row))
        return std::nullopt;
    return address;
}

UITableViewCellRef cellOfRow(const PSListControllerRef& pane, RowAddress address)
{
    const UITableViewRef& table = pane->table();
    if (address.section >= table->numberOfSections() || address.row >= table->numberOfRowsInSection(address.section))
        return nullptr;
    NSIndexPathRef path = NSIndexPath::indexPathForRow(address.row, address.section);
    table->scrollToRowAtIndexPath(path);
    return table->cellForRowAtIndexPath(path);
}

std::string describeRows(const PSListControllerRef& pane, JsonWriter& json)
{
    const UITableViewRef& table = pane->table();
    CGPoint offset = table->contentOffset();
    auto source = table->dataSource();
    std::string text;
    json.key("sections").beginArray();
    for (int section = 0; section < table->numberOfSections(); ++section) {
        std::optional<std::string> header = source ? source->titleForHeaderInSection(table, section) : std::nullopt;
        json.beginObject();
        if (header)
            json.field("header", *header);
        else
            json.key("header").null();
        if (header)
            text += (text.empty() ? "" : "\n") + std::string("[") + *header + "]";
        json.key("rows").beginArray();
        for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
            UITableViewCellRef cell = cellOfRow(pane, { section, row });
            std::string line = std::to_string(section) + ":" + std::to_string(row) + "  ";
            json.beginObject().field("section", section).field("row", row);
            if (!cell) {
                json.endObject();
                text += (text.empty() ? "" : "\n") + line + "(no cell)";
                continue;
            }
            const std::string& title = cell->textLabel()->text();
            json.field("title", title).field("detail", detailOf(cell));
            std::string value = writeValue(cell, json);
            bool checked = cell->accessoryType() == UITableViewCellAccessoryCheckmark;
            json.field("accessory", accessoryName(cell->accessoryType())).field("checked", checked).endObject();
            line += title.empty() ? "(untitled)" : title;
            if (!value.empty())
                line += "  = " + value;
            if (checked)
                line += "  [x]";
            else if (cell->accessoryType() == UITableViewCellAccessoryDisclosureIndicator)
                line += "  >";
            text += (text.empty() ? "" : "\n") + line;
        }
        json.endArray().endObject();
    }
    json.endArray();
    table->setContentOffset(offset);
    return text.empty() ? "the pane has no rows" : text;
}

} // namespace settings
