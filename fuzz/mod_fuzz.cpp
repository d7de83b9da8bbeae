// A mod of arbitrary bytes read as patch reads it and applied to a small
// original: the zip through libzip within the mod's limits, the manifest
// through Qt's JSON, the plan applied and the result written in memory and
// checked against the manifest. The original's hash is not checked, so that
// the mods of the seeds, made for it and mutated, reach the application. An
// input in the unzipped form of mod_members.h is zipped first, so that its
// mutations reach what lies past the zip's checksums.
// libzip and Qt are not instrumented; the program's own code is.

#include "archive/run_error.h"
#include "fuzz/mod_members.h"
#include "fuzz/mod_original.h"
#include "mods/mod_making.h"

#include <QtGlobal>

#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static pagelark::fuzz::ModOriginal original;
    try {
        std::vector<std::uint8_t> zip(data, data + size);
        if (size > 0 && data[0] == pagelark::fuzz::MembersMark)
            zip = pagelark::zipBytes(pagelark::fuzz::membersOf({data, size}));
        pagelark::checkModResult(zip, original.model, original.file);
    } catch (const pagelark::RunError&) {
        // Refused, as it should be, with a message.
    }
    return 0;
}
