#include "ui/PowerMeter.h"

#include "foundation/assets/Bitmap.h"
#include "render/CompoundOverlay.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace zentrix {

CPowerMeter::CPowerMeter(CSlideOut* parent, int controlId) : CControl(parent, controlId) {
    ReadLayout();
}

CPowerMeter::~CPowerMeter() = default;

void CPowerMeter::ReadLayout() {
    // The count comes from the data, so it is held to what a field can list.
    const int count = std::clamp(ReadInt(kFieldImageCount, 0), 0, kMaxImages);
    const int first = ReadInt(kFieldFirstImage, 0);
    m_imageIndex = kStartIndex;
    m_images.clear();
    m_images.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::int64_t id = static_cast<std::int64_t>(first) + i;
        if (id != 0 && id <= INT_MAX)
            m_images[static_cast<std::size_t>(i)] = Services().GetBitmap(static_cast<int>(id));
    }
    m_type = kTypePowerMeter;
}

CBitmap* CPowerMeter::GetImage(int index) const {
    if (index < 0 || index >= GetImageCount())
        return nullptr;
    return m_images[static_cast<std::size_t>(index)].get();
}

void CPowerMeter::SetImageIndex(int index) {
    m_imageIndex = index;
    Draw(true);
}

bool CPowerMeter::Draw(bool /*flag*/) {
    if (!m_parent->IsActive())
        return true;
    CCompoundOverlay* overlay = m_parent->GetOverlay();
    CBitmap* image = GetImage(m_imageIndex);
    if (overlay && image)
        overlay->BlitFrom(m_x, m_y, image->GetSurface(), true, nullptr);
    return true;
}

} // namespace zentrix
