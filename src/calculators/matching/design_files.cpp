#include "calculators/matching/design_files.h"

namespace ferrovane::designs {

const DesignFile& capDivider() {
    static const DesignFile file{
        "CapDivDesign.DAT",
        true,
        {"TxtF", "TxtR1", "TxtL", "TxtRc", "TxtC1", "TxtC2", "TxtRL", "TxtQ"}};
    return file;
}

const DesignFile& piNetwork() {
    static const DesignFile file{
        "PiNetDesign.DAT",
        true,
        {"TxtF", "TxtR1", "TxtC1", "TxtL", "TxtRc", "TxtC2", "TxtRL", "TxtQ"}};
    return file;
}

void save(const DesignFile& design, const std::map<std::string, std::string>& values,
          CalcEnv& env) {
    const WriteResult written = design.write(env.files, values);
    if (!written)
        env.dialogs.show(Message{"The design could not be saved in \"" + design.fileName +
                                     "\":\r\n" + written.error,
                                 kAppTitle, MessageIcon::Exclamation});
}

} // namespace ferrovane::designs
