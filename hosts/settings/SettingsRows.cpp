// The top pane's rows as the `settings rows` request reports them.

#include "SettingsControl.h"

#include "ui/UISlider.h"
#include "ui/UISwitch.h"
#include "ui/UITextField.h"

#include <nlohmann/json.hpp>

namespace settings {

namespace {

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
std::string writeValue(const UITableViewCellRef& cell, json::Value& row)
{
    json::Value& value = row["value"];
    if (auto toggle = findSubview<UISwitch>(cell)) {
        value = toggle->isOn();
        return toggle->isOn() ? "on" : "off";
    }
    if (auto slider = findSubview<UISlider>(cell)) {
        value = json::readable(slider->value());
        return formatted(slider->value());
    }
    if (auto field = findSubview<UITextField>(cell)) {
        value = field->text();
        return "\"" + field->text() + "\"" + (field->isEditing() ? " (editing)" : "");
    }
    std::string detail = detailOf(cell);
    if (!detail.empty())
        value = detail;
    return detail;
}

} // namespace

UITableViewCellRef cellOfRow(const PSListControllerRef& pane, RowAddress address)
{
    const UITableViewRef& table = pane->table();
    if (address.section >= table->numberOfSections() || address.row >= table->numberOfRowsInSection(address.section))
        return nullptr;
    NSIndexPathRef path = NSIndexPath::indexPathForRow(address.row, address.section);
    table->scrollToRowAtIndexPath(path);
    return table->cellForRowAtIndexPath(path);
}

std::string describeRows(const PSListControllerRef& pane, json::Value& reply)
{
    const UITableViewRef& table = pane->table();
    CGPoint offset = table->contentOffset();
    auto source = table->dataSource();
    std::string text;
    json::Value sections = json::Value::array();
    for (int section = 0; section < table->numberOfSections(); ++section) {
        std::optional<std::string> header = source ? source->titleForHeaderInSection(table, section) : std::nullopt;
        json::Value entry = json::Value::object();
        entry["header"] = header ? json::Value(*header) : json::Value();
        if (header)
            text += (text.empty() ? "" : "\n") + std::string("[") + *header + "]";
        json::Value& rows = entry["rows"] = json::Value::array();
        for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
            UITableViewCellRef cell = cellOfRow(pane, { section, row });
            std::string line = std::to_string(section) + ":" + std::to_string(row) + "  ";
            json::Value& described = rows.emplace_back(json::Value::object());
            described["section"] = section;
            described["row"] = row;
            if (!cell) {
                text += (text.empty() ? "" : "\n") + line + "(no cell)";
                continue;
            }
            const std::string& title = cell->textLabel()->text();
            described["title"] = title;
            described["detail"] = detailOf(cell);
            std::string value = writeValue(cell, described);
            bool checked = cell->accessoryType() == UITableViewCellAccessoryCheckmark;
            described["accessory"] = accessoryName(cell->accessoryType());
            described["checked"] = checked;
            line += title.empty() ? "(untitled)" : title;
            if (!value.empty())
                line += "  = " + value;
            if (checked)
                line += "  [x]";
            else if (cell->accessoryType() == UITableViewCellAccessoryDisclosureIndicator)
                line += "  >";
            text += (text.empty() ? "" : "\n") + line;
        }
        sections.push_back(std::move(entry));
    }
    reply["sections"] = std::move(sections);
    table->setContentOffset(offset);
    return text.empty() ? "the pane has no rows" : text;
}

} // namespace settings
