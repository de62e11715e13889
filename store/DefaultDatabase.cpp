#include "DefaultDatabase.h"

#include "Markup.h"
#include "Settings.h"

namespace bp {

namespace {

struct NamedValue {
    std::string_view name;
    std::string_view value;
};

struct SampleNote {
    std::string_view xPos, yPos, title, titleBackColor, bodyBackColor, priority;
};

constexpr SampleNote kSamples[3] = {
    {"451", "24", "Low Priority Note", "6029311", "6750207", "0"},
    {"616", "111", "Regular Priority Note", "65280", "5177166", "1"},
    {"764", "189", "High Priority Note", "7171583", "7895295", "2"},
};

std::string sampleNoteAttributes(int nid, const SampleNote& n) {
    const std::string id = std::to_string(nid);
    // What sets the samples apart; the rest comes from the table.
    const NamedValue own[] = {
        {note::nid.name, id},
        {note::xPos.name, n.xPos},
        {note::yPos.name, n.yPos},
        {note::title.name, n.title},
        {note::titleBackColor.name, n.titleBackColor},
        {note::bodyBackColor.name, n.bodyBackColor},
        {note::priority.name, n.priority},
    };
    std::string text;
    for (const NoteAttribute& attribute : kNoteAttributes) {
        std::string_view value = attribute.sampleValue;
        for (const NamedValue& v : own) {
            if (v.name == attribute.name) {
                value = v.value;
            }
        }
        text += markup::AttributeText(attribute.name, value);
    }
    return text;
}

}  // namespace

std::string BuildDefaultDatabaseText() {
    std::string text = "<Brightpost>\r\n";
    text += "<settings";
    for (const Setting& setting : kSettings) {
        text += markup::AttributeText(setting.name, setting.defaultValue);
    }
    text += ">\r\n";
    text += "[]]]]]>>>>>\r\n</settings>\r\n";
    text += "<notes>\r\n";
    for (int i = 0; i < 3; ++i) {
        text += "\r\n<note";
        text += sampleNoteAttributes(i + 1, kSamples[i]);
        text += ">\r\n";
        text += "<![CDATABEGIN[\r\n";
        text += "]CDATAEND]!>\r\n";
        text += "[]]]]]>>>>>\r\n</note>\r\n";
    }
    text += "[]]]]]>>>>>\r\n</notes>\r\n";
    text += "[]]]]]>>>>>\r\n</Brightpost>";
    return text;
}

}  // namespace bp
