#pragma once

#include "foundation/math/Vector.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

using namespace zentrix;

/// Typed values of asset records held in memory, answered as the game's data files answer them: a data
/// id is in a record's format when the record stores an element of it (of that type); an id outside the
/// format, or a record that does not exist, answers false; an element past those stored answers the
/// id's default, as the dictionary gives it (0 unless set here).
struct FakeDataRecords {
    using Key = std::tuple<int, int, int>; // asset, data id, element

    std::map<Key, int> ints;
    std::map<Key, float> floats;
    std::map<Key, CVector> vectors;
    std::map<Key, std::string> strings;
    std::map<int, int> intDefaults;
    std::map<int, float> floatDefaults;
    std::map<int, CVector> vectorDefaults;

    bool Int(int asset, int dataId, int& out, int element) const {
        return Find(ints, intDefaults, asset, dataId, element, out);
    }
    bool Float(int asset, int dataId, float& out, int element) const {
        return Find(floats, floatDefaults, asset, dataId, element, out);
    }
    bool Vector(int asset, int dataId, CVector& out, int element) const {
        return Find(vectors, vectorDefaults, asset, dataId, element, out);
    }
    bool Text(int asset, int dataId, std::string& out) const {
        return Find(strings, std::map<int, std::string>{}, asset, dataId, 0, out);
    }
    /// The elements stored for an id: one past the last stored (0 when none), of any type.
    int Count(int asset, int dataId) const {
        int count = 0;
        const auto last = [&](const auto& values) {
            for (auto it = values.lower_bound({asset, dataId, 0});
                 it != values.end() && std::get<0>(it->first) == asset && std::get<1>(it->first) == dataId;
                 ++it)
                count = std::max(count, std::get<2>(it->first) + 1);
        };
        last(ints);
        last(floats);
        last(vectors);
        last(strings);
        return count;
    }
    /// Takes an id out of a record's format (every element of every type).
    void Erase(int asset, int dataId) {
        const auto erase = [&](auto& values) {
            std::erase_if(values, [&](const auto& entry) {
                return std::get<0>(entry.first) == asset && std::get<1>(entry.first) == dataId;
            });
        };
        erase(ints);
        erase(floats);
        erase(vectors);
        erase(strings);
    }

private:
    template <typename T>
    static bool Find(const std::map<Key, T>& values, const std::map<int, T>& defaults, int asset, int dataId,
                     int element, T& out) {
        if (element < 0)
            return false;
        const auto stored = values.find(Key{asset, dataId, element});
        if (stored != values.end()) {
            out = stored->second;
            return true;
        }
        const auto any = values.lower_bound(Key{asset, dataId, 0});
        if (any == values.end() || std::get<0>(any->first) != asset || std::get<1>(any->first) != dataId)
            return false; // not in the record's format
        const auto byDefault = defaults.find(dataId);
        out = byDefault == defaults.end() ? T{} : byDefault->second;
        return true;
    }
};
