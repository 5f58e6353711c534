// Runs the fuzz target on hostile texts and on seeded random bytes; a crash or
// a hang fails the test.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione);

namespace {

void Prova(const std::string& s) { LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()); }

}  // namespace

int main(int argc, char** argv) {
    int giri = argc > 1 ? std::atoi(argv[1]) : 1000;
    const std::vector<std::string> ostili{
        "",
        std::string(10000, '9'),
        "-" + std::string(10000, '9') + "." + std::string(10000, '9'),
        "." + std::string(10000, '0') + "1",
        std::string("72\0.5", 5),
        "\xff\xfe\x80\xc3",
        "[Strings]\n0027=" + std::string(1 << 20, 'x') + "\n",
        std::string(64001, '\n'),
        "0027=\"" + std::string(70000, 'a') + "\"",
        "1e308",
        "-0",
        "+.",
        ",",
        "--5",
        "5..5",
        " 72,5 ",
    };
    for (const auto& s : ostili) Prova(s);

    std::mt19937 caso(20141220);
    const std::string alfabeto = "0123456789.,-+ \t\r\n=[]\"'aZ\xc3\xa0";
    for (int k = 0; k < giri; ++k) {
        std::size_t lunghezza = caso() % 300;
        std::string s;
        for (std::size_t i = 0; i < lunghezza; ++i)
            s += k % 2 ? static_cast<char>(caso() & 0xff) : alfabeto[caso() % alfabeto.size()];
        Prova(s);
    }
    std::printf("%zu hostile and %d random inputs\n", ostili.size(), giri);
    return 0;
}
