// The test binaries' precompiled GoogleTest headers are built with this file.
