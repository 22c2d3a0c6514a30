#include "SampleSources.h"

#include "platform/fs/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string_view>

using namespace zentrix;

namespace mkdata {

namespace {

// One line of a source file, split into words; rest(i) is the text from word i to the line's end.
struct Line {
    int number = 0;
    std::string text;
    std::vector<std::string> words;
    std::vector<std::size_t> starts;

    std::string Rest(std::size_t i) const {
        return i < words.size() ? text.substr(starts[i]) : std::string();
    }
};

// Reads a source file into its non-blank, non-comment lines.
bool ReadLines(const std::string& path, std::vector<Line>& lines, std::string& error) {
    plat::fs::ReadResult read = plat::fs::ReadWholeFile(path);
    if (read.error != plat::fs::Error::kNone) {
        error = path + ": cannot be read";
        return false;
    }
    const std::string content(read.bytes.begin(), read.bytes.end());
    std::size_t start = 0;
    int number = 0;
    while (start <= content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        ++number;
        Line line;
        line.number = number;
        line.text = content.substr(start, end - start);
        while (!line.text.empty() &&
               (line.text.back() == '\r' || line.text.back() == ' ' || line.text.back() == '\t'))
            line.text.pop_back();
        for (std::size_t i = 0; i < line.text.size();) {
            if (line.text[i] == ' ' || line.text[i] == '\t') {
                ++i;
                continue;
            }
            const std::size_t wordStart = i;
            while (i < line.text.size() && line.text[i] != ' ' && line.text[i] != '\t')
                ++i;
            line.starts.push_back(wordStart);
            line.words.push_back(line.text.substr(wordStart, i - wordStart));
        }
        if (!line.words.empty() && line.words[0][0] != '#')
            lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

bool ParseInt(const std::string& word, std::int32_t& out) {
    const char* first = word.data();
    const char* last = word.data() + word.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && end == last && first != last;
}

bool ParseFloat(const std::string& word, float& out) {
    if (word.empty() || word.find(',') != std::string::npos)
        return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtof(word.c_str(), &end);
    return end == word.c_str() + word.size() && errno == 0 && std::isfinite(out);
}

bool ParseVector(const std::string& word, CVector& out) {
    const std::size_t a = word.find(',');
    const std::size_t b = a == std::string::npos ? a : word.find(',', a + 1);
    if (b == std::string::npos || word.find(',', b + 1) != std::string::npos)
        return false;
    return ParseFloat(word.substr(0, a), out.x) && ParseFloat(word.substr(a + 1, b - a - 1), out.y) &&
           ParseFloat(word.substr(b + 1), out.z);
}

class Reader {
public:
    Reader(Sources& sources, std::string& error) : m_sources(sources), m_error(error) {}

    bool Fail(const std::string& file, int line, const std::string& why) {
        m_error = file + ":" + std::to_string(line) + ": " + why;
        return false;
    }

    bool Dictionary(const std::string& file) {
        std::vector<Line> lines;
        if (!ReadLines(file, lines, m_error))
            return false;
        std::set<std::int32_t> seen;
        for (const Line& line : lines) {
            if (line.words.size() < 4)
                return Fail(file, line.number, "expected: <data id> <type> <name> <default> [description]");
            CDataDictionary::TDataIDRecord record;
            if (!ParseInt(line.words[0], record.id) || record.id < 0 ||
                record.id >= CDataDictionary::kMaxSlots)
                return Fail(file, line.number, "data id must be a number from 0 to 65535");
            if (!seen.insert(record.id).second)
                return Fail(file, line.number, "data id " + line.words[0] + " is declared twice");
            const std::string& type = line.words[1];
            const std::string& value = line.words[3];
            bool ok = true;
            if (type == "int") {
                std::int32_t v = 0;
                ok = ParseInt(value, v);
                record.SetIntDefault(v);
            } else if (type == "float") {
                float v = 0.0f;
                ok = ParseFloat(value, v);
                record.SetFloatDefault(v);
            } else if (type == "vector") {
                CVector v;
                ok = ParseVector(value, v);
                record.SetVectorDefault(v);
            } else if (type == "text") {
                ok = value == "-";
                record.SetText();
            } else {
                return Fail(file, line.number, "type must be int, float, vector or text");
            }
            if (!ok)
                return Fail(file, line.number, "default " + value + " is not of type " + type);
            const std::string& name = line.words[2];
            const std::string description = line.Rest(4);
            if (name.size() >= CDataDictionary::kNameSize)
                return Fail(file, line.number, "name longer than 20 characters");
            if (description.size() >= CDataDictionary::kDescriptionSize)
                return Fail(file, line.number, "description longer than 255 characters");
            record.SetTexts(name, description);
            m_sources.dictionary.AddRecord(record);
        }
        const CDataDictionary::TDataIDRecord* format = m_sources.dictionary.GetRecord(0);
        const CDataDictionary::TDataIDRecord* user = m_sources.dictionary.GetRecord(1);
        if (format == nullptr || format->type != CDataDictionary::kTypeInt || user == nullptr ||
            user->type != CDataDictionary::kTypeText)
            return Fail(file, 0,
                        "data id 0 must be declared as int (the format id) and 1 as text (the user)");
        return true;
    }

    bool Formats(const std::string& file) {
        std::vector<Line> lines;
        if (!ReadLines(file, lines, m_error))
            return false;
        std::set<std::int32_t> seen;
        for (const Line& line : lines) {
            if (line.words.size() < 3)
                return Fail(file, line.number, "expected: <format id> <name> <data ids>");
            std::int32_t id = 0;
            if (!ParseInt(line.words[0], id) || id < 0 || id >= CDataDictionary::kMaxSlots)
                return Fail(file, line.number, "format id must be a number from 0 to 65535");
            if (!seen.insert(id).second)
                return Fail(file, line.number, "format " + line.words[0] + " is declared twice");
            if (line.words[1].size() >= CDataDictionary::kNameSize)
                return Fail(file, line.number, "name longer than 20 characters");
            CDataDictionary::TFormatRecord format;
            format.SetName(line.words[1]);
            for (std::size_t i = 2; i < line.words.size(); ++i) {
                const std::string& word = line.words[i];
                const std::size_t dash = word.find('-', 1);
                std::int32_t first = 0;
                std::int32_t last = 0;
                if (dash == std::string::npos ? !ParseInt(word, first)
                                              : !ParseInt(word.substr(0, dash), first) ||
                                                    !ParseInt(word.substr(dash + 1), last) || last < first)
                    return Fail(file, line.number, "data id " + word + " is no number or range a-b");
                if (dash == std::string::npos)
                    last = first;
                for (std::int32_t dataId = first; dataId <= last; ++dataId) {
                    if (m_sources.dictionary.GetRecord(dataId) == nullptr)
                        return Fail(file, line.number, "unknown data id " + std::to_string(dataId));
                    if (format.Contains(dataId))
                        return Fail(file, line.number,
                                    "data id " + std::to_string(dataId) + " is listed twice");
                    format.ids.push_back(dataId);
                }
            }
            if (!m_sources.dictionary.SetFormat(id, format))
                return Fail(file, line.number, "too many data ids");
        }
        return true;
    }

    bool Manifest(const std::string& file) {
        std::vector<Line> lines;
        if (!ReadLines(file, lines, m_error))
            return false;
        std::set<std::int32_t> seen;
        for (const Line& line : lines) {
            if (line.words[0] == "asset") {
                Asset asset;
                if (!AssetLine(file, line, asset))
                    return false;
                if (!seen.insert(asset.id).second)
                    return Fail(file, line.number, "asset " + std::to_string(asset.id) + " is listed twice");
                m_sources.assets.push_back(std::move(asset));
            } else if (line.words[0] == "field") {
                if (m_sources.assets.empty() || m_sources.assets.back().content != Content::kData)
                    return Fail(file, line.number, "a field belongs under a data asset");
                if (!FieldLine(file, line, m_sources.assets.back()))
                    return false;
            } else if (line.words[0] == "draw") {
                if (m_sources.assets.empty() || (m_sources.assets.back().content != Content::kPicture &&
                                                 m_sources.assets.back().content != Content::kRawVideo))
                    return Fail(file, line.number, "a draw line belongs under a picture or rawvideo asset");
                DrawStep step;
                step.line = line.number;
                // A video's step may first name the frames that show it.
                std::size_t first = 1;
                if (line.words.size() > 3 && line.words[1] == "frames") {
                    step.frames = line.words[2];
                    first = 3;
                }
                step.args.assign(line.words.begin() + static_cast<std::ptrdiff_t>(first), line.words.end());
                // A text step's text runs to the end of the line, blanks and all.
                if (step.args.size() > 8 && step.args[0] == "text") {
                    step.text = line.Rest(first + 8);
                    step.args.resize(8);
                }
                m_sources.assets.back().steps.push_back(std::move(step));
            } else {
                return Fail(file, line.number, "a line begins with asset, field or draw");
            }
        }
        return true;
    }

private:
    bool AssetLine(const std::string& file, const Line& line, Asset& asset) {
        asset.line = line.number;
        if (line.words.size() < 6)
            return Fail(file, line.number, "expected: asset <id> <path> <store> <method> <content> ...");
        if (!ParseInt(line.words[1], asset.id) || asset.id < 1 || asset.id > 65535)
            return Fail(file, line.number, "asset id must be a number from 1 to 65535");
        asset.path = line.words[2];
        if (asset.path.find('/') != std::string::npos || asset.path.front() == '\\' ||
            asset.path.back() == '\\' || asset.path.find(':') != std::string::npos ||
            ("\\" + asset.path + "\\").find("\\..\\") != std::string::npos ||
            asset.path.find("\\\\") != std::string::npos)
            return Fail(file, line.number, "path must be relative, \\-separated, without \"..\"");
        asset.store = line.words[3];
        const std::string& method = line.words[4];
        const int depth = LibraryDepth(asset.store);
        if (asset.store == "loose") {
            if (method != "-")
                return Fail(file, line.number, "a loose file has no storage method: write -");
        } else if (depth < 0) {
            return Fail(file, line.number, "store must be loose or [Library] .. [Library7]");
        } else if (method == "stored" || method == "huffman" || method == "zlib") {
            asset.method = method == "stored" ? 0 : method == "huffman" ? 1 : 2;
            std::size_t separators = 0;
            for (char c : asset.path)
                separators += c == '\\';
            if (separators < static_cast<std::size_t>(depth))
                return Fail(file, line.number,
                            asset.store + " keeps the path after its first " + std::to_string(depth) +
                                " folders: the path needs more of them");
        } else {
            return Fail(file, line.number, "method must be stored, huffman or zlib");
        }
        const std::string& content = line.words[5];
        asset.args.assign(line.words.begin() + 6, line.words.end());
        const std::size_t argc = asset.args.size();
        auto expect = [&](bool ok, const char* usage) { return ok || Fail(file, line.number, usage); };
        if (content == "dictionary" || content == "formats" || content == "font") {
            asset.content = content == "dictionary" ? Content::kDictionary
                            : content == "formats"  ? Content::kFormats
                                                    : Content::kFont;
            return expect(argc == 0, "dictionary, formats and font take nothing more");
        }
        if (content == "data") {
            asset.content = Content::kData;
            if (!expect(argc == 1 && ParseInt(asset.args[0], asset.formatId), "expected: data <format id>"))
                return false;
            if (m_sources.dictionary.GetFormat(asset.formatId) == nullptr)
                return Fail(file, line.number, "unknown format " + asset.args[0]);
            asset.data = std::make_unique<CDataFile>(m_sources.dictionary);
            const std::int32_t formatId[] = {asset.formatId};
            return expect(asset.data->SetInts(0, formatId) == CDataFile::SetResult::kSet,
                          "the format id does not fit data id 0");
        }
        if (content == "tga") {
            asset.content = Content::kTga;
            return expect(argc == 5, "expected: tga <width> <height> <24|32> <r,g,b[,a]> <r,g,b[,a]>");
        }
        if (content == "pointer") {
            asset.content = Content::kPointer;
            return expect(argc == 5, "expected: pointer <width> <height> <tip x> <tip y> <r,g,b>");
        }
        if (content == "framed") {
            asset.content = Content::kFramed;
            return expect(argc == 8,
                          "expected: framed <width> <height> <r,g,b> <x> <y> <width> <height> <r,g,b>");
        }
        if (content == "rawvideo") {
            asset.content = Content::kRawVideo;
            return expect(argc == 3 || argc == 4,
                          "expected: rawvideo <width> <height> <frames> [<r,g,b>, then its draw lines]");
        }
        if (content == "wav") {
            asset.content = Content::kWav;
            return expect(argc >= 2,
                          "expected: wav <frequency in Hz> <milliseconds> [rate <Hz>] [bits <8|16>] [extra]");
        }
        if (content == "midi") {
            asset.content = Content::kMidi;
            return expect(argc >= 2,
                          "expected: midi <beats per minute> [program <n>] <note> ... [drums <note> ...]");
        }
        if (content == "sf2") {
            asset.content = Content::kSoundFont;
            return expect(argc >= 1, "expected: sf2 <program>|drums ...");
        }
        if (content == "picture") {
            asset.content = Content::kPicture;
            return expect(argc == 3, "expected: picture <width> <height> <r,g,b[,a]>, then its draw lines");
        }
        if (content == "button") {
            asset.content = Content::kButton;
            asset.text = line.Rest(11);
            asset.args.resize(std::min<std::size_t>(argc, 5));
            return expect(argc >= 6,
                          "expected: button <width> <height> <r,g,b> <r,g,b> <text height> <label>");
        }
        if (content == "binary") {
            asset.content = Content::kBinary;
            return expect(argc >= 1, "expected: binary <type>:<value> ... (types u8, i16, u32, i32, f32)");
        }
        if (content == "text") {
            asset.content = Content::kText;
            asset.text = line.Rest(6);
            return true;
        }
        if (content == "file" || content == "kmb" || content == "script") {
            asset.content = content == "file"  ? Content::kFile
                            : content == "kmb" ? Content::kKmb
                                               : Content::kScript;
            return expect(argc == 1 && ("/" + asset.args[0] + "/").find("/../") == std::string::npos &&
                              asset.args[0].front() != '/',
                          "expected: file|kmb|script <path below the sources folder>");
        }
        return Fail(file, line.number, "unknown content " + content);
    }

    bool FieldLine(const std::string& file, const Line& line, Asset& asset) {
        Field field;
        field.line = line.number;
        if (line.words.size() < 2 || !ParseInt(line.words[1], field.id))
            return Fail(file, line.number, "expected: field <data id> <values>");
        const CDataDictionary::TDataIDRecord* declared = m_sources.dictionary.GetRecord(field.id);
        if (declared == nullptr)
            return Fail(file, line.number, "unknown data id " + line.words[1]);
        if (field.id == 0 || field.id == 1)
            return Fail(file, line.number, "data ids 0 and 1 are written by the tool (format id and user)");
        for (const Field& other : asset.fields)
            if (other.id == field.id)
                return Fail(file, line.number, "data id " + line.words[1] + " is given twice");
        const std::vector<std::string> values(line.words.begin() + 2, line.words.end());
        if (values.empty() && declared->type != CDataDictionary::kTypeText)
            return Fail(file, line.number, "no values");
        CDataFile::SetResult result = CDataFile::SetResult::kSet;
        const std::string wrongType =
            "wrong type: data id " + line.words[1] + " holds " + TypeName(declared->type) + " values";
        switch (declared->type) {
        case CDataDictionary::kTypeInt:
            for (const std::string& word : values)
                if (!ParseInt(word, field.ints.emplace_back()))
                    return Fail(file, line.number, wrongType);
            result = asset.data->SetInts(field.id, field.ints);
            break;
        case CDataDictionary::kTypeFloat:
            for (const std::string& word : values)
                if (!ParseFloat(word, field.floats.emplace_back()))
                    return Fail(file, line.number, wrongType);
            result = asset.data->SetFloats(field.id, field.floats);
            break;
        case CDataDictionary::kTypeVector:
            for (const std::string& word : values)
                if (!ParseVector(word, field.vectors.emplace_back()))
                    return Fail(file, line.number, wrongType);
            result = asset.data->SetVectors(field.id, field.vectors);
            break;
        default:
            field.text = line.Rest(2);
            result = asset.data->SetText(field.id, field.text);
            break;
        }
        switch (result) {
        case CDataFile::SetResult::kSet:
            break;
        case CDataFile::SetResult::kNotInFormat:
            return Fail(file, line.number,
                        "data id " + line.words[1] + " is not in format " + std::to_string(asset.formatId));
        case CDataFile::SetResult::kTooMany:
            return Fail(file, line.number,
                        "too many elements (at most 256 numbers, 85 vectors, 1023 characters)");
        case CDataFile::SetResult::kWrongType:
            return Fail(file, line.number, wrongType);
        case CDataFile::SetResult::kUnknownId:
            return Fail(file, line.number, "unknown data id " + line.words[1]);
        }
        asset.fields.push_back(std::move(field));
        return true;
    }

    // The number of leading folders a library drops from a path, or -1 for no library name.
    static int LibraryDepth(const std::string& store) {
        if (store == "[Library]")
            return 0;
        if (store == "[Library2]" || store == "[Library3]")
            return 1;
        if (store == "[Library4]" || store == "[Library5]" || store == "[Library6]" || store == "[Library7]")
            return 2;
        return -1;
    }

    Sources& m_sources;
    std::string& m_error;
};

} // namespace

const char* TypeName(std::uint32_t type) {
    switch (type) {
    case CDataDictionary::kTypeInt:
        return "int";
    case CDataDictionary::kTypeFloat:
        return "float";
    case CDataDictionary::kTypeVector:
        return "vector";
    case CDataDictionary::kTypeText:
        return "text";
    default:
        return "unknown";
    }
}

bool ReadSources(const std::string& folder, Sources& sources, std::string& error) {
    sources.folder = folder;
    Reader reader(sources, error);
    return reader.Dictionary(folder + "/dictionary.txt") && reader.Formats(folder + "/formats.txt") &&
           reader.Manifest(folder + "/manifest.txt");
}

} // namespace mkdata
