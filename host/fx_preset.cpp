#include "fx_preset.h"

#include <algorithm>
#include <cstdint>

#include "byte_order.h"
#include "host_error.h"

namespace tovrel {
namespace {

constexpr VstInt32 kChunkMagic = fourCharCode('C', 'c', 'n', 'K');
constexpr VstInt32 kProgramValues = fourCharCode('F', 'x', 'C', 'k');
constexpr VstInt32 kProgramChunk = fourCharCode('F', 'P', 'C', 'h');
constexpr VstInt32 kBankPrograms = fourCharCode('F', 'x', 'B', 'k');
constexpr VstInt32 kBankChunk = fourCharCode('F', 'B', 'C', 'h');
constexpr std::size_t kNameBytes = 28;
constexpr std::size_t kProgramHeader = 56;
constexpr std::size_t kBankHeader = 156;

[[noreturn]] void damaged(const std::string& why) {
    throw HostError("damaged preset: " + why);
}

// A bounded view of one record: every read is checked against its end.
class RecordReader {
  public:
    RecordReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t size() const { return size_; }
    VstInt32 int32At(std::size_t offset) const {
        require(offset, 4);
        return static_cast<VstInt32>(readBigEndian32(data_ + offset));
    }
    const unsigned char* bytesAt(std::size_t offset, std::size_t count) const {
        require(offset, count);
        return data_ + offset;
    }
    void require(std::size_t offset, std::size_t count) const {
        if (offset > size_ || count > size_ - offset) damaged("it ends too early");
    }

  private:
    const unsigned char* data_;
    std::size_t size_;
};

// Checks the common header and returns a reader limited to the length the record states.
RecordReader openRecord(const unsigned char* data, std::size_t available) {
    const RecordReader whole(data, available);
    if (available < 8 || whole.int32At(0) != kChunkMagic) damaged("it does not start with CcnK");
    const VstInt32 stated = whole.int32At(4);
    if (stated < 0 || static_cast<std::size_t>(stated) > available - 8) {
        damaged("it is truncated (" + std::to_string(available) + " bytes where the header " +
                "announces " + std::to_string(static_cast<long long>(stated) + 8) + ")");
    }
    const RecordReader record(data, static_cast<std::size_t>(stated) + 8);
    const VstInt32 version = record.int32At(12);
    if (version != 1 && version != 2) damaged("unknown format version " + std::to_string(version));
    return record;
}

std::size_t countAt(const RecordReader& record, std::size_t offset, const char* what) {
    const VstInt32 count = record.int32At(offset);
    if (count < 0) damaged(std::string("negative ") + what);
    return static_cast<std::size_t>(count);
}

Bytes chunkAt(const RecordReader& record, std::size_t offset) {
    const std::size_t size = countAt(record, offset, "chunk size");
    const unsigned char* bytes = record.bytesAt(offset + 4, size);
    return Bytes(bytes, bytes + size);
}

FxProgram parseProgram(const RecordReader& record) {
    FxProgram program;
    const VstInt32 kind = record.int32At(8);
    if (kind != kProgramValues && kind != kProgramChunk) damaged("not a program record");
    program.pluginId = record.int32At(16);
    program.pluginVersion = record.int32At(20);
    const auto* name = reinterpret_cast<const char*>(record.bytesAt(28, kNameBytes));
    program.name.assign(name, std::find(name, name + kNameBytes, '\0'));
    program.opaque = kind == kProgramChunk;
    const std::size_t count = countAt(record, 24, "parameter count");
    program.parameterCount = static_cast<VstInt32>(count);
    if (program.opaque) {
        program.chunk = chunkAt(record, kProgramHeader);
        return program;
    }
    record.require(kProgramHeader, count * 4);  // checked before anything is reserved
    program.values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto bits = static_cast<std::uint32_t>(record.int32At(kProgramHeader + 4 * i));
        program.values.push_back(floatFromBits(bits));
    }
    return program;
}

FxBank parseBank(const RecordReader& record) {
    FxBank bank;
    bank.pluginId = record.int32At(16);
    bank.pluginVersion = record.int32At(20);
    bank.programCount = static_cast<VstInt32>(countAt(record, 24, "program count"));
    bank.opaque = record.int32At(8) == kBankChunk;
    if (bank.opaque) {
        bank.chunk = chunkAt(record, kBankHeader);
        return bank;
    }
    std::size_t offset = kBankHeader;
    for (VstInt32 i = 0; i < bank.programCount; ++i) {
        record.require(offset, 8);
        const RecordReader program = openRecord(record.bytesAt(offset, 0), record.size() - offset);
        bank.programs.push_back(parseProgram(program));
        if (bank.programs.back().pluginId != bank.pluginId) {
            damaged("a program inside the bank belongs to another plug-in");
        }
        offset += program.size();
    }
    return bank;
}

void appendHeader(Bytes& out, VstInt32 kind, VstInt32 id, VstInt32 version, VstInt32 count) {
    appendBigEndian32(out, static_cast<std::uint32_t>(kChunkMagic));
    appendBigEndian32(out, 0);  // length, patched by finish()
    for (VstInt32 field : {kind, 1, id, version, count}) {
        appendBigEndian32(out, static_cast<std::uint32_t>(field));
    }
}

void appendChunk(Bytes& out, const Bytes& chunk) {
    appendBigEndian32(out, static_cast<std::uint32_t>(chunk.size()));
    out.insert(out.end(), chunk.begin(), chunk.end());
}

Bytes finish(Bytes out) {
    const auto length = static_cast<std::uint32_t>(out.size() - 8);
    Bytes patched;
    appendBigEndian32(patched, length);
    std::copy(patched.begin(), patched.end(), out.begin() + 4);
    return out;
}

}  // namespace

PresetFile parsePreset(const Bytes& file) {
    const RecordReader record = openRecord(file.data(), file.size());
    const VstInt32 kind = record.int32At(8);
    if (kind == kBankPrograms || kind == kBankChunk) return parseBank(record);
    if (kind == kProgramValues || kind == kProgramChunk) return parseProgram(record);
    damaged("unknown record type");
}

Bytes serializeProgram(const FxProgram& program) {
    Bytes out;
    const auto count =
        program.opaque ? program.parameterCount : static_cast<VstInt32>(program.values.size());
    appendHeader(out, program.opaque ? kProgramChunk : kProgramValues, program.pluginId,
                 program.pluginVersion, count);
    const std::string name = program.name.substr(0, kNameBytes);
    out.insert(out.end(), name.begin(), name.end());
    out.resize(out.size() + kNameBytes - name.size(), 0);
    if (program.opaque) {
        appendChunk(out, program.chunk);
    } else {
        for (float value : program.values) appendBigEndian32(out, bitsFromFloat(value));
    }
    return finish(std::move(out));
}

Bytes serializeBank(const FxBank& bank) {
    Bytes out;
    const auto count =
        bank.opaque ? bank.programCount : static_cast<VstInt32>(bank.programs.size());
    appendHeader(out, bank.opaque ? kBankChunk : kBankPrograms, bank.pluginId, bank.pluginVersion,
                 count);
    out.resize(out.size() + (kBankHeader - out.size()), 0);  // reserved, written as zeros
    if (bank.opaque) {
        appendChunk(out, bank.chunk);
    } else {
        for (const FxProgram& program : bank.programs) {
            const Bytes record = serializeProgram(program);
            out.insert(out.end(), record.begin(), record.end());
        }
    }
    return finish(std::move(out));
}

VstInt32 presetPluginId(const PresetFile& preset) {
    return std::visit([](const auto& record) { return record.pluginId; }, preset);
}

}  // namespace tovrel
