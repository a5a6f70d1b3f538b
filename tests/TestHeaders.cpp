// The translation unit that compiles the test programs' shared precompiled header.
