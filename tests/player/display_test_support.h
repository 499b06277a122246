// Shared pieces of the display and readings tests: a port that records what
// the pipeline hands the control, and recordings written byte by byte.
#pragma once

#include "core/recording/record_layout.h"
#include "player/display/ascan_port.h"
#include "support/temp_folder.h"

#include <QApplication>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace pelix::player::test {

// Widgets need an application; the test program may or may not provide one.
inline void ensureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "player_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole test program
}

// Stores every write like the control does and keeps the order of the writes.
class FakeAscanPort : public AscanPort {
  public:
    struct Write {
        std::string name;
        QVariant value;
    };

    void set(const char* name, const QVariant& value) override {
        values[name] = value;
        journal.push_back({name, value});
    }
    QVariant get(const char* name) const override {
        const auto it = values.find(name);
        return it == values.end() ? QVariant() : it->second;
    }
    void setBool(const char* name, bool value) override { set(name, QVariant(value)); }
    bool getBool(const char* name) const override { return get(name).toBool(); }
    void setParamTitle(int row, const QString& text) override {
        titles[row] = text;
        journal.push_back({"tiParamTitle(" + std::to_string(row) + ")", text});
    }
    void setParamValue(int row, const QString& text) override {
        rowValues[row] = text;
        journal.push_back({"pParamValue(" + std::to_string(row) + ")", text});
    }
    // A comma as decimal separator makes the conversion visible in the texts.
    QString convertDecToCom(const QString& text) override { return QString(text).replace('.', ','); }
    void updateAscanGraph() override {
        ++redraws;
        journal.push_back({"UpdateAscanGraph", QVariant()});
    }

    QString title(int row) const { return titles.count(row) ? titles.at(row) : QString(); }
    QString value(int row) const { return rowValues.count(row) ? rowValues.at(row) : QString(); }
    bool hasValue(int row) const { return rowValues.count(row) != 0; }
    std::vector<int16_t> pointArray() const {
        const auto list = get("iPointArray").value<QList<qint16>>();
        return {list.begin(), list.end()};
    }

    std::map<std::string, QVariant> values;
    std::map<int, QString> titles, rowValues;
    std::vector<Write> journal;
    int redraws = 0;
};

// A recording assembled field by field: setup words big-endian, frame words little-endian.
class RecordingBuilder {
  public:
    using Record = std::array<uint8_t, recording::kFrameRecordBytes>;

    RecordingBuilder() {
        for (int i = 0; i < 4; ++i)
            header[i] = recording::kMagicBytes[i];
        setup(recording::rh::Version, 8);
        setup(recording::rh::Velocity, 59200);
        setup(recording::rh::DisplayRange_um, 100000);
        setup(recording::rh::Rectification, 3);
    }

    void setup(std::size_t offset, int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            header[offset + i] = static_cast<uint8_t>(u >> (24 - 8 * i));
    }
    Record& addRecord() { return records.emplace_back(Record{}); }
    static void frame(Record& r, std::size_t offset, int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            r[offset + i] = static_cast<uint8_t>(u >> (8 * i));
    }
    static void samplePair(Record& r, std::size_t p, uint8_t b0, uint8_t b1) {
        r[recording::kFrameHeaderBytes + 2 * p] = b0;
        r[recording::kFrameHeaderBytes + 2 * p + 1] = b1;
    }

    // Writes the file; `cut` bytes are left off its end.
    std::string write(const std::string& name, std::size_t cut = 0) const {
        // The recording outlives the builder, so the file goes with the program's folder.
        const std::string path = pelix::testing::programTempFolder().file(name);
        std::string bytes(header.begin(), header.end());
        for (const auto& r : records)
            bytes.append(r.begin(), r.end());
        bytes.resize(bytes.size() - cut);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::array<uint8_t, recording::kRecordingHeaderBytes> header{};
    std::vector<Record> records;
};

} // namespace pelix::player::test
