// A shared library without the host's entry point.
extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return 16; }
