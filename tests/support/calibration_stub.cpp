// A calibration library for the tests to load: the module loads and releases it, calling nothing.

extern "C" int calibrationStubVersion() {
    return 1;
}
