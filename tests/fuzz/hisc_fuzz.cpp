// Fuzz target: the hi-score loader on any bytes, then a classify and insert on what it read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Hisc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    THiScoreTable table;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (table.FromBytes(bytes)) {
        const std::uint32_t score = table.Score(3) + 1;
        table.Classify(score);
        table.Insert(score, table.Record(1).FirstName, table.Record(2).MiddleName,
                     table.Record(3).LastName, "20260101");
        const std::string again = table.ToBytes();
        if (again.size() != static_cast<std::size_t>(THiScoreTable::kFileSize)) __builtin_trap();
    }
    return 0;
}
