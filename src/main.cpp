#include "driver/run.h"

int main(int argc, char** argv) { return qv::exitStatusFor(qv::runQuorvane(argc, argv)); }
