#include "foundation/assets/Bitmap.h"
#include "foundation/base/Message.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"
#include "ui/TextBoxControl.h"
#include "ui/TextEditControl.h"
#include "ui/WordWrap.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace zentrix;

namespace {

/// Layout records answering every integer field with one value; nothing else exists.
class FieldServices : public IPanelServices {
public:
    int value = 0;
    int GetVideoMode() const override { return 0; }
    bool GetInt(int, int, int& out, int) override {
        out = value;
        return true;
    }
    bool GetVector(int, int, CVector&, int) override { return false; }
    std::unique_ptr<CBitmap> GetBitmap(int) override { return nullptr; }
    IHelpPanel* GetHelpPanel() override { return nullptr; }
    bool LoadAssetIntoString(int, std::string&) override { return false; }
    plat::text::Font* GetFont(int) override { return nullptr; }
    CCompoundOverlay* CreateCompoundOverlay(int, int) override { return nullptr; }
    void DeleteOverlay(COverlay*) override {}
    void AddRenderObject(COverlay*) override {}
    plat::gfx2d::Point GetMousePosition() const override { return {}; }
    void UpdateEngine() override {}
    void RenderFrame() override {}
    void PlayHelp(int, int) override {}
    void OnHover(int) override {}
    void OnHoverEnd(int) override {}
    void CancelHover() override {}
    void PlayUiSound(int) override {}
    void StopHelpSound() override {}
    bool GetLatestMessage(int, CMessage&) override { return false; }
    bool IsMouseButtonDown(int) const override { return false; }
    plat::gfx2d::Point GetWindowMousePosition() const override { return {}; }
};

class Panel : public CSlideOut {
public:
    explicit Panel(CSlideOutMan* manager) : CSlideOut(1, manager, false) {}
    void OnControl(int) override {}
    void AttachWorld() override {}
};

/// Whether every line fits the width; the space that ended a word before a return does not count.
bool LinesFit(std::string_view wrapped, int width) {
    std::size_t begin = 0;
    while (begin <= wrapped.size()) {
        std::size_t end = wrapped.find(kLineBreak, begin);
        std::string_view line = wrapped.substr(begin, end == std::string_view::npos ? end : end - begin);
        if (!line.empty() && line.back() == ' ')
            line.remove_suffix(1);
        if (line.size() > static_cast<std::size_t>(width))
            return false;
        if (end == std::string_view::npos)
            break;
        begin = end + 1;
    }
    return true;
}

} // namespace

// The first byte is a line width (signed), the second a maximum length; the rest is text, wrapped as a
// whole and typed character by character into a text field.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int width = static_cast<std::int8_t>(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    // The copy pass writes exactly what the size pass measured, and no line is wider than asked.
    const std::optional<std::string> wrapped = WrapText(text, width);
    const std::size_t measured = WrappedSize(text, width);
    if (wrapped.has_value() != (measured != 0))
        std::abort();
    if (wrapped && (wrapped->size() + 1 != measured || !LinesFit(*wrapped, width)))
        std::abort();

    FieldServices services;
    services.value = static_cast<std::int8_t>(data[1]);
    CSlideOutMan manager(services);
    Panel panel(&manager);
    CTextEditControl edit(&panel, 0);
    edit.EnableIfDisabled();
    const auto limit = static_cast<std::size_t>(edit.GetMaxLength());
    if (limit < 1)
        std::abort();
    for (char c : text) {
        edit.OnChar(static_cast<unsigned char>(c));
        if (edit.GetText().size() > limit)
            std::abort();
    }
    edit.SetText(text);
    if (edit.GetText().size() > limit || edit.GetText() != text.substr(0, limit))
        std::abort();

    services.value = width;
    CTextBoxControl box(&panel, 0);
    box.SetText(text);
    return 0;
}
