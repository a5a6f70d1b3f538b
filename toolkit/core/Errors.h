// Error classes of the toolkit. Messages are GBK texts, as everything inside the program.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace tk {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A failed file-system or process call; carries the system's error code.
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, uint32_t errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  uint32_t ErrorCode() const { return errorCode_; }

 private:
  uint32_t errorCode_;
};

class EStreamError : public Exception {
  using Exception::Exception;
};
// A file that could not be opened; carries the system's error code (0 when none was given), so
// that a caller can tell a missing file from one it may not read.
class EFOpenError : public EStreamError {
 public:
  explicit EFOpenError(std::string message, uint32_t errorCode = 0)
      : EStreamError(std::move(message)), errorCode_(errorCode) {}
  uint32_t ErrorCode() const { return errorCode_; }

 private:
  uint32_t errorCode_;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
  using EStreamError::EStreamError;
};
class EListError : public Exception {
  using Exception::Exception;
};
class ERegistryException : public Exception {
  using Exception::Exception;
};
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
// The platform's cryptography (CNG's bcrypt.dll, OpenSSL's libcrypto) refused a call that
// cannot fail on sound input: the engine is missing or broken.
class ECryptoError : public Exception {
  using Exception::Exception;
};

// The system's own text for an error code (errno on POSIX, GetLastError on Windows), in GBK.
std::string SysErrorMessage(uint32_t errorCode);
// The calling thread's last system error code.
uint32_t LastSysError();

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tk
