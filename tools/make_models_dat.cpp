// make-models-dat: writes a model parameter file (2592 bytes) from a CSV of index,value lines.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "ModelParameterCsv.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make-models-dat <coefficients.csv> <models.dat>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "make-models-dat: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const veltrano::ModelParameterCsv csv = veltrano::readModelParameterCsv(text.str());
    if (!csv.error.empty()) {
        std::cerr << "make-models-dat: " << argv[1] << ": " << csv.error << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes = veltrano::encodeModelParameters(csv.parameters);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "make-models-dat: cannot write " << argv[2] << "\n";
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
