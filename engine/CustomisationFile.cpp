#include "engine/CustomisationFile.h"

#include "engine/Hisc.h"

void TCustomisationFile::Look() {
    if (looked_) return;
    looked_ = true;
    exists_ = PathExists(path_);
    read_ = exists_ && TIniFile::Load(path_, ini_);
}
