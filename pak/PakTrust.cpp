#include "pak/PakTrust.h"

namespace pak {
namespace {

PackageTrust Refused(std::string message) { return PackageTrust{false, false, std::move(message)}; }
PackageTrust Taken(bool checkEntries, std::string note) { return PackageTrust{true, checkEntries, std::move(note)}; }

}  // namespace

PackageTrust JudgePackage(const DigestCheck& check, const std::string& makerKey) {
  const char* const kUnsigned = "安装包没有签名，无法确认它出自本产品的制作者";
  switch (check.state) {
    case DigestBlockState::Damaged:
      return Refused("安装包已损坏：" + check.problem);
    case DigestBlockState::Absent:
      if (!makerKey.empty()) return Refused(kUnsigned);
      return Taken(false, "安装包不带摘要（旧格式），其数据未经校验" +
                              (check.problem.empty() ? std::string() : "；" + check.problem));
    case DigestBlockState::Present:
      break;
  }
  const DigestBlock& block = check.block;
  if (!block.isSigned) {
    if (!makerKey.empty()) return Refused(kUnsigned);
    return Taken(true, "安装包带摘要，未签名");
  }
  if (!makerKey.empty() && block.publicKey != makerKey)
    return Refused("安装包由另一把密钥签名（密钥指纹 " + KeyFingerprint(block.publicKey) +
                   "），不是本安装程序认可的制作者（密钥指纹 " + KeyFingerprint(makerKey) + "）");
  if (CheckSignature(check) != SignatureState::Valid)
    return Refused("安装包的签名无效：摘要块在签名之后被改动过");
  if (makerKey.empty())
    return Taken(true, "安装包带摘要，由密钥 " + KeyFingerprint(block.publicKey) + " 签名（本安装程序未内置公钥，未核对制作者）");
  return Taken(true, "安装包带摘要，签名有效（密钥指纹 " + KeyFingerprint(block.publicKey) + "）");
}

}  // namespace pak
