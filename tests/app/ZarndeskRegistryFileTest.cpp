// Zarndesk with a FIFO or an 8 GiB sparse file as its registry file starts as with a sound one, and
// says once which file it did not read.
#include "tests/support/qt/DamagedRegistryStart.h"

#include <gtest/gtest.h>

TEST(ZarndeskRegistryFile, AFifoOrAHugeRegistryFileNeitherHoldsNorBloatsTheStart)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZARN_PROMPT_ECHO", "1");
    // Up once the main window's first update check, which reads the registry, is over.
    env.insert("ZARN_STARTUP_TRACE", "1");
    ExpectDamagedRegistryFilesNeitherHoldNorBloatTheStart(QStringLiteral(ZARN_BINARY_DIR "/bin/Zarndesk"), env,
                                                          " update check done\n", "Zarndesk");
}
