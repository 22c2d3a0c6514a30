#include "race/RaceText.h"

#include "app/App.h"
#include "foundation/assets/AssetMan.h"
#include "platform/text/TextLayout.h"
#include "render/Overlay.h"
#include "ui/ShadowedText.h"

namespace zentrix {

namespace {

CAssetMan* Assets() {
    return g_pApp ? g_pApp->GetAssetMan() : nullptr;
}

} // namespace

CRaceText::~CRaceText() = default;

COverlay* CRaceText::GetOverlay() const {
    return m_borrowed ? m_borrowed : (m_own ? m_own->Get() : nullptr);
}

void CRaceText::Init(int textId, const plat::gfx2d::Rect& rect, int fontIndex, COverlay* borrowed) {
    m_own.reset();
    m_background.reset();
    m_borrowed = borrowed;
    SetText(textId);
    CAssetMan* assets = Assets();
    m_font = assets ? assets->GetFont(fontIndex) : nullptr;
    m_rect = rect;
    if (!borrowed) {
        m_own = std::make_unique<CRaceOverlay>(
            std::make_unique<COverlay>(rect.right - rect.left, rect.bottom - rect.top));
        m_background = LoadRacePicture(kBackgroundPicture);
    }
    if (COverlay* overlay = GetOverlay())
        overlay->SetPosition(rect.left, rect.top);
    m_loaded = true;
}

void CRaceText::SetText(int id) {
    m_text.clear();
    if (id != -1)
        if (CAssetMan* assets = Assets())
            assets->LoadAssetIntoString(id, m_text);
}

void CRaceText::Draw() {
    COverlay* overlay = GetOverlay();
    if (!overlay)
        return;
    plat::gfx2d::Rect textRect = m_rect;
    if (m_borrowed) {
        overlay->FillRect(0, m_rect);
    } else {
        textRect = {0, 0, overlay->GetWidth(), overlay->GetHeight()};
        overlay->FillRect(kColourKey, textRect);
    }
    if (m_background && m_background->GetSurface()) {
        overlay->BlitFrom(0, 0, m_background->GetSurface(), false, nullptr);
        textRect = kBackgroundTextRect;
    }
    plat::gfx2d::Surface* surface = overlay->GetSurface();
    if (m_text.empty() || !surface)
        return;
    SShadowedText request;
    request.textRect = textRect;
    request.text = m_text;
    request.format = plat::text::kFormatCenter | plat::text::kFormatVCenter;
    request.textColour = m_colour;
    request.backgroundColour = m_secondColour;
    request.font = m_font;
    DrawShadowedTextOn(*surface, request);
}

void CRaceText::Hide() {
    if (COverlay* overlay = GetOverlay())
        overlay->FillRect(kColourKey, {0, 0, overlay->GetWidth(), overlay->GetHeight()});
}

} // namespace zentrix
