#include "tools/lvtool/RecordFields.h"

#include "tools/lvtool/Commands.h"

#include <charconv>
#include <functional>
#include <string>
#include <strings.h>
#include <vector>

namespace lvtool {
namespace {

template <typename Record>
struct Field {
    const char* name;
    std::function<int64_t(const Record&)> get;
    std::function<void(Record&, int32_t)> set;
    int64_t min, max;
};

#define LV_INT_FIELD(R, F, LO, HI)                                                                           \
    Field<R> {                                                                                               \
#F, [](const R& r) { return int64_t{r.F}; }, [](R & r, int32_t v) { r.F = v; }, LO, HI               \
    }
#define LV_BYTE_FIELD(R, F)                                                                                  \
    Field<R> {                                                                                               \
#F, [](const R& r) { return int64_t{r.F}; }, [](R & r,                                               \
                                                        int32_t v) { r.F = static_cast<uint8_t>(v); }, 0,    \
                                                                                                    255      \
    }

constexpr int64_t kIntMin = INT32_MIN, kIntMax = INT32_MAX;

const std::vector<Field<lv::TWaveParam>>& waveFields() {
    using W = lv::TWaveParam;
    static const std::vector<Field<W>> fields{LV_INT_FIELD(W, Amplitude, kIntMin, kIntMax),
                                              LV_INT_FIELD(W, Frequency, kIntMin, kIntMax),
                                              LV_INT_FIELD(W, Speed, kIntMin, kIntMax),
                                              LV_INT_FIELD(W, Direction, kIntMin, kIntMax),
                                              LV_BYTE_FIELD(W, Horizontal),
                                              LV_BYTE_FIELD(W, Vertical),
                                              LV_BYTE_FIELD(W, Perspective),
                                              LV_INT_FIELD(W, Ripple, kIntMin, kIntMax),
                                              LV_INT_FIELD(W, Distortion, kIntMin, kIntMax),
                                              LV_INT_FIELD(W, Reserved, kIntMin, kIntMax)};
    return fields;
}

const std::vector<Field<lv::TWeatherParam>>& weatherFields() {
    using T = lv::TWeatherParam;
    static const std::vector<Field<T>> fields{
        LV_INT_FIELD(T, Kind, kIntMin, kIntMax),   LV_INT_FIELD(T, ParticleCount, kIntMin, kIntMax),
        LV_INT_FIELD(T, Speed, kIntMin, kIntMax),  LV_INT_FIELD(T, Wind, kIntMin, kIntMax),
        LV_INT_FIELD(T, Length, kIntMin, kIntMax), LV_INT_FIELD(T, Reserved, kIntMin, kIntMax)};
    return fields;
}

template <typename Record>
nlohmann::ordered_json toJson(const Record& record, const std::vector<Field<Record>>& fields) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (const auto& field : fields) json[field.name] = field.get(record);
    return json;
}

template <typename Record>
void apply(Record& record, std::string_view assignments, const std::vector<Field<Record>>& fields) {
    while (!assignments.empty()) {
        const size_t comma = assignments.find(',');
        const std::string_view item = assignments.substr(0, comma);
        assignments = comma == std::string_view::npos ? std::string_view{} : assignments.substr(comma + 1);
        const size_t equals = item.find('=');
        if (equals == std::string_view::npos)
            throw UsageError("expected Field=Value, got \"" + std::string(item) + "\"");
        const std::string name(item.substr(0, equals));
        const std::string_view text = item.substr(equals + 1);
        int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || text.empty())
            throw UsageError("\"" + std::string(text) + "\" is not a whole number (field " + name + ")");
        const Field<Record>* match = nullptr;
        for (const auto& field : fields)
            if (::strcasecmp(field.name, name.c_str()) == 0) match = &field;
        if (!match) throw UsageError("unknown field \"" + name + "\"");
        if (value < match->min || value > match->max)
            throw UsageError("value " + std::string(text) + " is out of range for " + match->name);
        match->set(record, static_cast<int32_t>(value));
    }
}

} // namespace

nlohmann::ordered_json waveParamJson(const lv::TWaveParam& param) {
    return toJson(param, waveFields());
}
nlohmann::ordered_json weatherParamJson(const lv::TWeatherParam& param) {
    return toJson(param, weatherFields());
}

void applyWaveFields(lv::TWaveParam& param, std::string_view assignments) {
    apply(param, assignments, waveFields());
    if (param.Ripple == 0) throw UsageError("Ripple must not be 0");
}

void applyWeatherFields(lv::TWeatherParam& param, std::string_view assignments) {
    apply(param, assignments, weatherFields());
}

} // namespace lvtool
