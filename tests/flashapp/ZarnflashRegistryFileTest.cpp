// Zarnflash (on its simulated-meter switch, without a meter) with a FIFO or an 8 GiB sparse file as
// its registry file starts as with a sound one, and says once which file it did not read.
#include "tests/support/qt/DamagedRegistryStart.h"

#include <gtest/gtest.h>

TEST(ZarnflashRegistryFile, AFifoOrAHugeRegistryFileNeitherHoldsNorBloatsTheStart)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZARN_SIMULATED_METER", "none");
    env.insert("ZARN_SIMULATED_START", "1");
    env.insert("ZARN_PROMPT_ECHO", "1");
    ExpectDamagedRegistryFilesNeitherHoldNorBloatTheStart(QStringLiteral(ZARN_BINARY_DIR "/bin/Zarnflash"), env,
                                                          "zarnflash: ready: ", "Zarnflash");
}
