# The digest block through the system's CNG (bcrypt.dll): SHA-256, P-256 signatures made by
# OpenSSL, and the installer's check of signed packages (tests/native/data) before staging.
quarn_win_test(package_digest_tests SOURCES PackageDigestTest.cpp LIBS qcommon)
target_compile_definitions(package_digest_tests PRIVATE QUARN_DIGEST_DATA="${CMAKE_SOURCE_DIR}/tests/native/data")
