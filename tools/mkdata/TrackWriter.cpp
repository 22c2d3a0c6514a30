#include "TrackWriter.h"

#include "platform/fs/FileSystem.h"
#include "race/RouteNodeMan.h"
#include "world/TrackObject.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>

using namespace zentrix;

namespace mkdata {

namespace {

constexpr std::int32_t kThemeBase[4] = {15000, 16000, 18000, 17000};
constexpr std::int32_t kStartSuffix[4] = {205, 200, 205, 200};
constexpr std::int32_t kFillerSuffix = 270;
constexpr std::int32_t kPieceFormat = 8;
/// The stunt pieces' formats (barrel, loop, DoD, side force, timed death, cannon, water): pieces too.
constexpr std::int32_t kStuntPieceFormats[] = {13, 16, 17, 18, 19, 20, 26};
constexpr CDataDictionary::TDataID kFieldSlopeKind = 87;

struct SourceLine {
    int number = 0;
    std::vector<std::string> words;
};

struct PieceLine {
    int line = 0;
    std::int32_t id = 0;
    std::uint32_t x = 0, z = 0, rotation = 0;
};

bool ParseInt(const std::string& word, std::int32_t& out) {
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
    return ec == std::errc() && end == word.data() + word.size() && !word.empty();
}

bool ParseIndex(const std::string& word, std::uint32_t limit, std::uint32_t& out) {
    std::int32_t value = 0;
    if (!ParseInt(word, value) || value < 0 || static_cast<std::uint32_t>(value) >= limit)
        return false;
    out = static_cast<std::uint32_t>(value);
    return true;
}

const Field* FindField(const Asset& asset, CDataDictionary::TDataID id) {
    for (const Field& field : asset.fields)
        if (field.id == id)
            return &field;
    return nullptr;
}

const Asset* FindPiece(const Sources& sources, std::int32_t id) {
    for (const Asset& asset : sources.assets)
        if (asset.id == id && asset.content == Content::kData &&
            (asset.formatId == kPieceFormat ||
             std::find(std::begin(kStuntPieceFormats), std::end(kStuntPieceFormats), asset.formatId) !=
                 std::end(kStuntPieceFormats)))
            return &asset;
    return nullptr;
}

/// How many footprint cells a track piece's connection record needs: one past its last open cell, 0 for a
/// piece the route does not pass.
std::size_t ConnectionReach(std::int32_t pieceId) {
    int pieceClass = CTrackObject::kClassNone;
    std::int16_t index = -1;
    if (!CTrackObject::ClassifyPiece(pieceId, false, pieceClass, index))
        return 0;
    int kind = -1;
    if (pieceClass == CTrackObject::kClassMain)
        kind = index;
    else if (pieceClass == CTrackObject::kClassSecond)
        kind = index + CTrackObject::kMainPieceCount;
    CRouteNodeMan::SPieceConnections record{};
    if (!CRouteNodeMan::GetPieceConnections(kind, record))
        return 0;
    std::size_t reach = 0;
    for (std::size_t i = 0; i < record.size(); ++i)
        if (record[i] != 0)
            reach = i + 1;
    return reach;
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

/// The layout of the records of the older versions: start, strides, and whether the height is a double.
struct OldLayout {
    std::size_t start, strideX, strideZ;
    bool doubleHeight;
};
constexpr OldLayout kOldLayouts[5] = {
    {0, 0, 0, false}, {32, 128, 16, true}, {28, 96, 12, false}, {40, 128, 16, false}, {40, 1024, 16, false},
};

} // namespace

std::string TrackFolder(int slot) {
    switch (slot) {
    case 1:
        return "SavedTracks";
    case 4:
        return "CampaignTracks";
    case 5:
        return "GameTracks";
    default:
        return {};
    }
}

std::string FixtureName(const std::string& track, std::uint32_t version) {
    return track + ".v" + std::to_string(version) + ".trk";
}

bool ReadTrack(const Sources& sources, const std::string& path, Track& track, std::string& error) {
    plat::fs::ReadResult read = plat::fs::ReadWholeFile(path);
    if (read.error != plat::fs::Error::kNone) {
        error = path + ": cannot be read";
        return false;
    }
    auto fail = [&](int line, const std::string& why) {
        error = path + ":" + std::to_string(line) + ": " + why;
        return false;
    };
    std::vector<SourceLine> lines;
    std::istringstream text(std::string(read.bytes.begin(), read.bytes.end()));
    std::string content;
    for (int number = 1; std::getline(text, content); ++number) {
        SourceLine line{number, {}};
        std::istringstream words(content);
        for (std::string word; words >> word;)
            line.words.push_back(word);
        if (!line.words.empty() && line.words[0][0] != '#')
            lines.push_back(std::move(line));
    }

    track = Track{};
    std::vector<SourceLine> cells;
    for (const SourceLine& line : lines) {
        const std::string& key = line.words[0];
        std::uint32_t value = 0;
        if (key == "piece" || key == "height") {
            cells.push_back(line);
        } else if (key == "name" && line.words.size() == 2 && !line.words[1].empty() &&
                   line.words[1].find_first_of("\\/:.") == std::string::npos) {
            track.name = line.words[1];
        } else if (key == "folder" && line.words.size() == 2 && ParseIndex(line.words[1], 7, value) &&
                   !TrackFolder(static_cast<int>(value)).empty()) {
            track.folder = static_cast<int>(value);
        } else if (key == "theme" && line.words.size() == 2 && ParseIndex(line.words[1], 4, value)) {
            track.theme = value;
        } else if (key == "size" && line.words.size() == 2 && ParseIndex(line.words[1], 2, value)) {
            track.gridSizeIndex = value;
        } else if (key == "lighting" && line.words.size() == 2 && ParseIndex(line.words[1], 2, value)) {
            track.lightingFlag = value;
        } else if (key == "route" && line.words.size() == 2 && ParseIndex(line.words[1], 2, value)) {
            track.routeClosed = value == 1;
        } else if (key == "fixtures" && line.words.size() >= 2) {
            for (std::size_t i = 1; i < line.words.size(); ++i) {
                if (!ParseIndex(line.words[i], 5, value) || value == 0)
                    return fail(line.number, "fixtures are versions 1 to 4");
                track.fixtures.push_back(value);
            }
        } else {
            return fail(line.number,
                        "expected: name <name>, folder <1|4|5>, theme <0-3>, size <0|1>, lighting "
                        "<0|1>, route <0|1>, fixtures <versions>, piece <x> <z> <suffix> "
                        "<rotation> or height <x> <z> <8|16|24>");
        }
    }
    if (track.name.empty() || track.folder < 0)
        return fail(1, "a track needs its name and its folder");
    const std::uint32_t side = track.Side();
    for (std::uint32_t version : track.fixtures)
        if (version < 4 && side != 8)
            return fail(1, "versions 1 to 3 hold 8 x 8 cells only");

    CTrackFileImage::SRecord empty;
    empty.height = -1.0f;
    track.records.assign(static_cast<std::size_t>(side) * side, empty);
    // The piece line covering each cell, or none.
    std::vector<int> coveredBy(track.records.size(), -1);
    std::vector<PieceLine> pieces;
    const std::int32_t base = kThemeBase[track.theme];
    bool startPlaced = false;
    for (const SourceLine& line : cells) {
        PieceLine piece{line.number};
        std::int32_t suffix = 0;
        if (line.words.size() != (line.words[0] == "piece" ? 5u : 4u) ||
            !ParseIndex(line.words[1], side, piece.x) || !ParseIndex(line.words[2], side, piece.z))
            return fail(line.number,
                        "expected: piece <x> <z> <suffix> <rotation> or height <x> <z> <height>, "
                        "x and z inside the grid");
        CTrackFileImage::SRecord& record = track.records[static_cast<std::size_t>(piece.x) * side + piece.z];
        if (line.words[0] == "height") {
            std::int32_t height = 0;
            if (!ParseInt(line.words[3], height) || (height != 8 && height != 16 && height != 24))
                return fail(line.number, "a height is 8, 16 or 24 (levels 1 to 3)");
            if (record.height != -1.0f)
                return fail(line.number, "the cell has its height already");
            record.height = static_cast<float>(height);
            continue;
        }
        if (!ParseInt(line.words[3], suffix) || !ParseIndex(line.words[4], 4, piece.rotation))
            return fail(line.number,
                        "a piece is a suffix (its type id less the theme's base) and a rotation 0-3");
        piece.id = base + suffix;
        const Asset* asset = FindPiece(sources, piece.id);
        if (!asset)
            return fail(line.number,
                        "piece " + std::to_string(piece.id) + " is no track piece of the manifest");
        if (suffix == kFillerSuffix)
            return fail(line.number, "the ground tile is never stored in a track file");
        if (suffix == kStartSuffix[track.theme]) {
            if (startPlaced)
                return fail(line.number, "a track has one start piece");
            startPlaced = true;
        }
        const Field* footprintField = FindField(*asset, CTrackObject::kFieldFootprint);
        bool complete = true;
        const std::vector<CTrackObject::SCellOffset> footprint =
            CTrackObject::ParseFootprint(footprintField ? footprintField->text : std::string(), complete);
        if (!complete)
            return fail(line.number, "the footprint of piece " + std::to_string(piece.id) + " is malformed");
        // The route leaves a piece through the cells its connection record names, byte by footprint cell:
        // a footprint that stops short of them leaves the route with no way on.
        if (const std::size_t reach = ConnectionReach(piece.id); reach > footprint.size())
            return fail(line.number, "the footprint of piece " + std::to_string(piece.id) +
                                         " stops short of cell " + std::to_string(reach - 1) +
                                         " of its connections");
        for (const CTrackObject::SCellOffset& offset : footprint) {
            const CTrackObject::SCellOffset turned =
                CTrackObject::TurnOffset(offset, static_cast<int>(piece.rotation));
            const std::int64_t x = static_cast<std::int64_t>(piece.x) + turned.x;
            const std::int64_t z = static_cast<std::int64_t>(piece.z) + turned.z;
            if (x < 0 || z < 0 || x >= side || z >= side)
                return fail(line.number, "the piece reaches past the grid");
            int& owner = coveredBy[static_cast<std::size_t>(x) * side + static_cast<std::size_t>(z)];
            if (owner >= 0)
                return fail(line.number, "the piece lies over the piece of line " +
                                             std::to_string(pieces[static_cast<std::size_t>(owner)].line));
            owner = static_cast<int>(pieces.size());
        }
        record.pieceId = piece.id;
        record.rotation = piece.rotation;
        pieces.push_back(piece);
    }
    // A raised cell under a piece keeps its height only under a piece that stands on supports (slope kind
    // 0), and the support is turned with the piece.
    for (std::size_t cell = 0; cell < track.records.size(); ++cell) {
        if (track.records[cell].height <= 0.0f || coveredBy[cell] < 0)
            continue;
        const PieceLine& piece = pieces[static_cast<std::size_t>(coveredBy[cell])];
        const Field* kind = FindField(*FindPiece(sources, piece.id), kFieldSlopeKind);
        if (!kind || kind->ints.empty() || kind->ints[0] != 0)
            return fail(piece.line, "a piece on raised cells needs slope kind 0");
        track.records[cell].groundRotation = piece.rotation;
    }
    return true;
}

std::vector<std::uint8_t> TrackImage(const Track& track, std::uint32_t version) {
    const std::uint32_t side = track.Side();
    auto record = [&](std::uint32_t x, std::uint32_t z) -> const CTrackFileImage::SRecord& {
        return track.records[static_cast<std::size_t>(x) * side + z];
    };
    if (version == 5) {
        CTrackFileImage image;
        image.WriteTrackHeader(track.gridSizeIndex, track.theme, track.lightingFlag, track.routeClosed);
        for (std::uint32_t x = 0; x < side; ++x)
            for (std::uint32_t z = 0; z < side; ++z)
                image.WriteCellRecord(x, z, record(x, z));
        return {image.Bytes().begin(), image.Bytes().end()};
    }
    if (version < 1 || version > 4 || (version < 4 && side != 8))
        return {};
    const OldLayout& layout = kOldLayouts[version];
    std::vector<std::uint8_t> bytes(CTrackFileImage::MinimumSize(version), 0);
    std::memcpy(bytes.data(), CTrackFileImage::kSignature, sizeof CTrackFileImage::kSignature);
    Put32(bytes, CTrackFileImage::kVersionOffset, version);
    Put32(bytes, CTrackFileImage::kSizeOffset, static_cast<std::uint32_t>(bytes.size()));
    Put32(bytes, CTrackFileImage::kGridSizeOffset, side);
    Put32(bytes, CTrackFileImage::kThemeOffset, side);
    const std::uint32_t cells = version == 4 ? CTrackFileImage::kRecordCells : 8;
    for (std::uint32_t x = 0; x < cells; ++x)
        for (std::uint32_t z = 0; z < cells; ++z) {
            CTrackFileImage::SRecord r;
            if (x < side && z < side)
                r = record(x, z);
            const std::size_t offset = layout.start + layout.strideX * x + layout.strideZ * z;
            std::size_t next = offset;
            if (layout.doubleHeight) {
                const double height = r.height;
                std::uint64_t bits = 0;
                std::memcpy(&bits, &height, sizeof bits);
                Put32(bytes, next, static_cast<std::uint32_t>(bits));
                Put32(bytes, next + 4, static_cast<std::uint32_t>(bits >> 32));
                next += 8;
            } else {
                std::uint32_t bits = 0;
                std::memcpy(&bits, &r.height, sizeof bits);
                Put32(bytes, next, bits);
                next += 4;
            }
            Put32(bytes, next, static_cast<std::uint32_t>(r.pieceId));
            Put32(bytes, next + 4, r.rotation);
        }
    return bytes;
}

bool WriteSampleTracks(const Sources& sources, const std::string& folder, std::string& error) {
    const std::string tracksFolder = sources.folder + "/tracks";
    plat::fs::ListResult list = plat::fs::ListFolder(tracksFolder, "*.txt");
    if (list.error == plat::fs::Error::kPathNotFound)
        return true;
    std::set<std::string> written; // lower case: the game finds files in any case
    for (const plat::fs::FolderEntry& entry : list.entries) {
        Track track;
        if (!ReadTrack(sources, tracksFolder + "/" + entry.name, track, error))
            return false;
        std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files = {
            {TrackFolder(track.folder) + "\\" + track.name + ".trk", TrackImage(track, 5)}};
        for (std::uint32_t version : track.fixtures)
            files.emplace_back(std::string(kFixtureFolder) + "\\" + FixtureName(track.name, version),
                               TrackImage(track, version));
        for (const auto& [name, bytes] : files) {
            std::string key = name;
            for (char& c : key)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (!written.insert(key).second) {
                error = tracksFolder + "/" + entry.name + ": " + name + " is written by another track";
                return false;
            }
            const std::string path = folder + "\\" + name;
            const std::string parent = path.substr(0, path.find_last_of('\\'));
            if ((!plat::fs::IsFolder(parent) && !plat::fs::CreateFolder(parent) &&
                 !plat::fs::IsFolder(parent)) ||
                plat::fs::ReplaceFile(path, bytes) != plat::fs::Error::kNone) {
                error = path + ": cannot be written";
                return false;
            }
        }
    }
    return true;
}

} // namespace mkdata
