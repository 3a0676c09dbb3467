#include "capture/sway/tree_sway.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace skl {
namespace {

// The name sway gives the workspace that holds the scratchpad.
constexpr const char* scratchpadWorkspace = "__i3_scratch";

QJsonDocument parsed(std::string_view json) {
    return QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())));
}

std::int32_t clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int64_t coordinate(const QJsonObject& rect, const char* key) { return rect[QLatin1String(key)].toInteger(); }

// The rectangle, reaching `extraTop` higher.
ScreenRect rectOf(const QJsonObject& rect, std::int64_t extraTop = 0) {
    const std::int64_t x = coordinate(rect, "x");
    const std::int64_t y = coordinate(rect, "y");
    return {clamped(x), clamped(y - extraTop), clamped(x + coordinate(rect, "width")),
            clamped(y + coordinate(rect, "height"))};
}

void collectViews(const QJsonObject& node, bool inScratchpad, std::vector<SwayView>& views) {
    const bool scratchpad =
        inScratchpad || (node["type"].toString() == "workspace" && node["name"].toString() == scratchpadWorkspace);
    if (node.contains("shell")) {
        SwayView view;
        view.id = node["id"].toInteger();
        view.name = node["name"].toString().toStdString();
        view.pid = node["pid"].toInteger();
        if (node["window"].isDouble()) view.x11Window = static_cast<std::uint32_t>(node["window"].toInteger());
        // With a title bar ("border normal"), rect is the part below it, borders
        // included, and deco_rect the title bar; without one, rect is the frame.
        view.frame = rectOf(node["rect"].toObject(), coordinate(node["deco_rect"].toObject(), "height"));
        view.visible = node["visible"].toBool();
        view.inScratchpad = scratchpad;
        views.push_back(std::move(view));
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue child : node[QLatin1String(children)].toArray()) {
            collectViews(child.toObject(), scratchpad, views);
        }
    }
}

}  // namespace

std::vector<SwayView> swayViews(std::string_view tree) {
    std::vector<SwayView> views;
    const QJsonDocument document = parsed(tree);
    if (document.isObject()) collectViews(document.object(), false, views);
    return views;
}

std::vector<SwayOutput> swayOutputs(std::string_view outputs) {
    std::vector<SwayOutput> found;
    for (const QJsonValue value : parsed(outputs).array()) {
        const QJsonObject output = value.toObject();
        if (!output["active"].toBool()) continue;
        const double scale = output["scale"].toDouble(1.0);
        found.push_back({output["name"].toString().toStdString(), rectOf(output["rect"].toObject()),
                         scale > 0 ? scale : 1.0});
    }
    return found;
}

std::string swayConCriteria(std::int64_t id) { return "[con_id=" + std::to_string(id) + "] "; }

}  // namespace skl
