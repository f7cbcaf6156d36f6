#include "EditorPort.h"

namespace tolva {

namespace {
EditorProvider g_provider = nullptr;
}

EditorPort* editorWindow() {
    return g_provider ? g_provider() : nullptr;
}

void setEditorProvider(EditorProvider provider) {
    g_provider = std::move(provider);
}

}  // namespace tolva
