#include "world/TrackObject.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/assets/PieceLists.h"
#include "foundation/math/Rotation.h"
#include "render/EngineMan.h"
#include "render/VornMesh.h"
#include "world/ActiveWorldObject.h"
#include "world/BoundingBox.h"
#include "world/BoundingSphere.h"
#include "world/CarLink.h"
#include "world/CarObject.h"
#include "world/RaceWorldLink.h"
#include "world/TrackBuildLink.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace zentrix {

namespace {

constexpr std::size_t kTextSize = 1024;

CAssetMan* Assets() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetAssetMan() : nullptr;
}

CEngineMan* Engine() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetEngineMan() : nullptr;
}

bool IsFinite(const CVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

/// A whole number of cells from a decimal number (truncated toward zero); false for anything that is
/// not one number, or lies farther than the largest offset.
bool ReadOffset(std::string_view text, int& out) {
    const std::string number(Trimmed(text));
    if (number.empty())
        return false;
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(value))
        return false;
    const double whole = std::trunc(value);
    if (whole < -CTrackObject::kMaxOffset || whole > CTrackObject::kMaxOffset)
        return false;
    out = static_cast<int>(whole);
    return true;
}

} // namespace

CTrackObject::CTrackObject(int typeId) : CWorldObject(typeId, -1, nullptr, -1) {
    char text[kTextSize] = {};
    CAssetMan* assets = Assets();
    if (assets)
        assets->GetString(GetTypeId(), kFieldFootprint, text, sizeof text);
    bool complete = true;
    m_footprint = ParseFootprint(text, complete);
    if (assets && assets->GetFloat(GetTypeId(), kFieldHeightStep, m_heightStep) &&
        std::isfinite(m_heightStep))
        m_isHeightPiece = m_heightStep != kNoHeightStep;
    else
        m_heightStep = kNoHeightStep;
    if (!complete)
        if (IWorldServices* services = CWorldMan::GetServices())
            services->Log(kLogChannel,
                          "Footprint text is malformed, read up to the bad group - From the track piece " +
                              std::to_string(GetTypeId()));
}

CTrackObject::~CTrackObject() {
    RemoveLights();
}

std::vector<CTrackObject::SCellOffset> CTrackObject::ParseFootprint(std::string_view text, bool& complete) {
    std::vector<SCellOffset> cells;
    complete = true;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t comma = text.find(',', position);
        const std::size_t close = comma == std::string_view::npos ? comma : text.find(')', comma);
        SCellOffset cell;
        if (text[position] != '(' || close == std::string_view::npos ||
            !ReadOffset(text.substr(position + 1, comma - position - 1), cell.x) ||
            !ReadOffset(text.substr(comma + 1, close - comma - 1), cell.z)) {
            complete = false;
            break;
        }
        cells.push_back(cell);
        position = close + 1;
    }
    if (cells.empty())
        cells.push_back({0, 0});
    return cells;
}

bool CTrackObject::Create() {
    CWorldObject::Create();
    m_length = 0.0f;
    const int index = GetPieceIndex();
    CAssetMan* assets = Assets();
    if (assets) {
        assets->GetVector(GetTypeId(), kFieldAxis, m_axis);
        assets->GetInt(GetTypeId(), kFieldHintText, m_hintTextId);
        ReadSoundId(*assets);
    }
    // Ids outside the themes' blocks have no element of their own in the length row.
    if (index >= 0 && assets)
        assets->GetFloat(kLengthAsset, kFieldLength, m_length, index);
    if (!(std::isfinite(m_length) && m_length > 0.0f))
        m_length = 0.0f;
    return true;
}

void CTrackObject::ReadSoundId(CAssetMan& assets) {
    assets.GetInt(GetTypeId(), kFieldSound, m_soundId);
    char path[200] = {};
    if (m_soundId != -1 && !assets.GetAssetPath(m_soundId, path, sizeof path))
        m_soundId = -1;
    // Two jungle pieces share their sounds with others; two sounds are never played near a piece.
    if (GetTypeId() == 15242)
        m_soundId = 55006;
    else if (GetTypeId() == 15241)
        m_soundId = 55011;
    if (m_soundId == 55012 || m_soundId == 55009)
        m_soundId = -1;
}

CVector CTrackObject::GetTrackAxis() const {
    const int rotation = GetRotation();
    if (rotation != 1 && rotation != 3)
        return m_axis;
    CVector turned;
    RotateVectorAboutAxis(m_axis, turned, CVector(0.0f, 1.0f, 0.0f), 1.5707964f);
    return turned;
}

int CTrackObject::TurnSideMask(int mask, int rotation) {
    mask &= 0xF;
    if (rotation < 1 || rotation > 3)
        return mask;
    return ((mask << rotation) | (mask >> (4 - rotation))) & 0xF;
}

namespace {

/// The main pieces by list index, as offsets from the theme's base; index 5 differs by theme.
constexpr int kMainOffsets[CTrackObject::kMainPieceCount] = {
    205, 201, 202, 203, 204, -1,  206, 211, 208, 209, 212, 292, 220, 218, 221,
    224, 223, 219, 229, 217, 225, 226, 227, 228, 222, 207, 216, 293, 233, 235};
// Index 5 names ids outside every theme block: no piece takes that place in the list.
constexpr int kMainIndex5[4] = {1114, 2123, 4121, 3103};
constexpr int kSecondOffsets[CTrackObject::kSecondPieceCount] = {240, 241, 242, 243, 244, 245, 247, 246,
                                                                 248, 249, 250, 251, 252, 277, 255};

int MainPieceId(int theme, int index) {
    if (index == 5)
        return kMainIndex5[theme];
    // Ice and city start on a piece of their own.
    if (index == 0 && (theme == 1 || theme == 3))
        return CPieceLists::ThemeBaseId(theme) + 200;
    return CPieceLists::ThemeBaseId(theme) + kMainOffsets[index];
}

} // namespace

bool CTrackObject::GetPieceClass(int& pieceClass, std::int16_t& index) const {
    return ClassifyPiece(GetTypeId(), m_isHeightPiece, pieceClass, index);
}

bool CTrackObject::ClassifyPiece(int typeId, bool isHeightPiece, int& pieceClass, std::int16_t& index) {
    if (isHeightPiece) {
        pieceClass = kClassMain;
        index = kHeightPieceIndex;
        return true;
    }
    for (int theme = 0; theme < 4; ++theme)
        for (int i = 0; i < kSecondPieceCount; ++i)
            if (CPieceLists::ThemeBaseId(theme) + kSecondOffsets[i] == typeId) {
                pieceClass = kClassSecond;
                index = static_cast<std::int16_t>(i);
                return true;
            }
    for (int theme = 0; theme < 4; ++theme)
        for (int i = 0; i < kMainPieceCount; ++i)
            if (MainPieceId(theme, i) == typeId) {
                pieceClass = kClassMain;
                index = static_cast<std::int16_t>(i);
                return true;
            }
    for (int theme = 0; theme < 4; ++theme)
        for (int i = 0; i < CAssetMan::GetPieceGroup2Count(); ++i)
            if (CAssetMan::GetPieceGroup2Id(theme, i) == typeId) {
                pieceClass = kClassScenery;
                index = static_cast<std::int16_t>(i);
                return true;
            }
    pieceClass = kClassNone;
    index = -1;
    return false;
}

int CTrackObject::GetAssetId() const {
    const int typeId = GetTypeId();
    return typeId >= 15000 && typeId <= 19999 ? typeId - 200 : CWorldObject::GetAssetId();
}

int CTrackObject::PieceIndexOf(int typeId) {
    for (int base : {15000, 16000, 17000, 18000})
        if (typeId > base && typeId < base + 1000)
            return typeId - (base + 200);
    return -1;
}

void CTrackObject::SetRotation(int rotation) {
    static const CVector kDirections[4] = {CVector(0.0f, 0.0f, -1.0f), CVector(-1.0f, 0.0f, 0.0f),
                                           CVector(0.0f, 0.0f, 1.0f), CVector(1.0f, 0.0f, 0.0f)};
    if (rotation < 0 || rotation > 3)
        return;
    SetDirectionVector(kDirections[rotation]);
}

int CTrackObject::GetRotation() const {
    const CVector d = Direction();
    if (d.z < 0.0f)
        return 0;
    if (d.x < 0.0f)
        return 1;
    if (d.z > 0.0f)
        return 2;
    if (d.x > 0.0f)
        return 3;
    return -1;
}

CTrackObject::SCellOffset CTrackObject::TurnOffset(const SCellOffset& offset, int rotation) {
    switch (rotation) {
    case 0:
        return offset;
    case 1:
        return {offset.z, -offset.x};
    case 2:
        return {-offset.x, -offset.z};
    case 3:
        return {-offset.z, offset.x};
    default:
        return {0, 0};
    }
}

void CTrackObject::Update(unsigned ms) {
    CWorldObject::Update(ms);
    IWorldServices* services = CWorldMan::GetServices();
    IWorldSounds* sounds = services ? services->GetSounds() : nullptr;
    if (m_soundId == -1 || !sounds)
        return;
    const float hearing = sounds->GetHearingDistance();
    for (CActiveWorldObject* object : CWorldMan::GetActiveList()) {
        if (!object || (object->Position() - Position()).Length() >= hearing)
            continue;
        if (const auto* car = dynamic_cast<const ICarLink*>(object))
            sounds->PlaySoundAt(m_soundId, Position(), true, car->GetDriverSlot());
    }
}

bool CTrackObject::OnPlaced() {
    CAssetMan* assets = Assets();
    if (assets && GetTypeId() == assets->GetStartPieceId())
        RemoveOtherStartPieces();
    UpdateLights();
    return true;
}

void CTrackObject::UpdateLights() {
    m_lightReach = 0.0f;
    CAssetMan* assets = Assets();
    if (!assets)
        return;
    CEngineMan* engine = Engine();
    // In the editor no race has started: only the street lamps are lit there.
    const bool lit = HasRaceStarted() || IsLampPiece();
    bool asked = false;
    for (int i = 0; i < kLightSlots; ++i) {
        float radius = 0.0f;
        CVector offset;
        CVector colour;
        if (!assets->GetFloat(GetTypeId(), kFieldLightRadius, radius, i) ||
            !assets->GetVector(GetTypeId(), kFieldLightOffset, offset, i) ||
            !assets->GetVector(GetTypeId(), kFieldLightColour, colour, i))
            continue;
        radius *= kLightRadiusScale;
        // A radius beyond any grid would only make the relight walk cells that do not exist.
        const float reach = offset.Length() + radius;
        if (!(radius > 0.0f) || !std::isfinite(reach) || !IsFinite(colour))
            continue;
        m_lightReach = std::max(m_lightReach, reach);
        CVector position = Position() + offset;
        if (const CVornMesh* mesh = GetMesh())
            mesh->LocalToWorld(position, offset);
        plat::raster::Light light;
        light.type = plat::raster::LightType::Point;
        light.diffuse = {colour.x / 255.0f, colour.y / 255.0f, colour.z / 255.0f, 0.0f};
        light.position = {position.x, position.y, position.z};
        light.range = radius;
        light.attenuation0 = 1.0f;
        if (!lit)
            continue;
        if (m_lights[i] != -1 && engine)
            engine->RemoveLight(m_lights[i]);
        m_lights[i] = engine ? engine->AddLight(light, 2) : -1;
        asked = true;
    }
    if (asked)
        CWorldMan::RelightPiecesAround(Position(), m_lightReach);
}

void CTrackObject::RemoveLights() {
    CEngineMan* engine = Engine();
    bool removed = false;
    for (int& handle : m_lights) {
        if (handle == -1)
            continue;
        if (engine)
            engine->RemoveLight(handle);
        handle = -1;
        removed = true;
    }
    if (removed)
        CWorldMan::RelightPiecesAround(Position(), m_lightReach);
}

bool CTrackObject::HasRaceStarted() {
    const IRaceWorldLink* race = CWorldMan::GetRaceWorld();
    return race && race->HasStarted();
}

bool CTrackObject::IsRacePaused() {
    const IRaceWorldLink* race = CWorldMan::GetRaceWorld();
    return race && race->IsPaused();
}

std::unique_ptr<CBoundingVolume> CTrackObject::MakeStuntVolume(CBoundingVolumeDesc desc,
                                                               const CVector& offset) const {
    std::unique_ptr<CBoundingVolume> volume;
    if (desc.kind == CBoundingVolumeDesc::kSphere)
        volume = std::make_unique<CBoundingSphere>();
    else if (desc.kind == CBoundingVolumeDesc::kBox)
        volume = std::make_unique<CBoundingBox>();
    desc.centre = Position();
    if (!volume || !volume->Create(desc))
        return nullptr;
    volume->SetOffset(offset.x, offset.y, offset.z);
    if (desc.kind == CBoundingVolumeDesc::kBox)
        volume->SetOrientation(CVector(-1.0f, 0.0f, 0.0f), CVector(0.0f, 1.0f, 0.0f));
    return volume;
}

void CTrackObject::FindCarsIn(CBoundingVolume& volume, std::vector<CActiveWorldObject*>& cars) const {
    cars.clear();
    volume.SetCentre(Position());
    volume.SetOrientation(Direction(), CVector(0.0f, 1.0f, 0.0f));
    std::vector<CWorldObject*> met;
    CWorldMan::GetActiveObjectsIn(this, volume, met);
    for (CWorldObject* object : met)
        if (dynamic_cast<ICarLink*>(object))
            if (auto* car = dynamic_cast<CActiveWorldObject*>(object))
                cars.push_back(car);
}

void CTrackObject::FindCarObjectsIn(CBoundingVolume& volume, std::vector<CCarObject*>& cars) const {
    cars.clear();
    volume.SetCentre(Position());
    volume.SetOrientation(Direction(), CVector(0.0f, 1.0f, 0.0f));
    std::vector<CWorldObject*> met;
    CWorldMan::GetActiveObjectsIn(this, volume, met);
    for (CWorldObject* object : met)
        if (auto* car = dynamic_cast<CCarObject*>(object))
            cars.push_back(car);
}

IWorldSounds* CTrackObject::Sounds() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetSounds() : nullptr;
}

int CTrackObject::CurrentTheme() {
    const CAssetMan* assets = Assets();
    return assets ? assets->GetWorld() : 0;
}

void CTrackObject::ReportTaunt(CWorldObject* car, int event) {
    if (IRaceWorldLink* race = CWorldMan::GetRaceWorld())
        race->ReportTauntEvent(car, event);
}

float CTrackObject::GetTurnAngle() const {
    constexpr float kQuarter = 1.5707964f;
    const int rotation = GetRotation();
    return rotation >= 1 && rotation <= 3 ? kQuarter * static_cast<float>(rotation) : 4.0f * kQuarter;
}

void CTrackObject::RemoveOtherStartPieces() {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    ITrackBuildLink* builder = CWorldMan::GetLinks().trackBuild;
    if (!grid || !builder)
        return;
    for (std::uint32_t x = 0; x < grid->GetSizeX(); ++x)
        for (std::uint32_t z = 0; z < grid->GetSizeZ(); ++z) {
            const CTrackObject* piece = grid->GetPieceAt(x, z);
            if (piece && piece != this && piece->GetTypeId() == GetTypeId())
                builder->RemoveTrackPiece(x, z);
        }
}

} // namespace zentrix
