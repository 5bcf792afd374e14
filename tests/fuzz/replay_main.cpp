// Replays files (or every file of the folders) given on the command line
// through the fuzz target, without libFuzzer: the corpus as a regression test.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static int replayFile(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        printf("cannot open %s\n", path.c_str());
        exit(1);
    }
    std::vector<uint8_t> bytes;
    int c;
    while ((c = fgetc(f)) != EOF) bytes.push_back((uint8_t)c);
    fclose(f);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 1;
}

int main(int argc, char** argv)
{
    int count = 0;
    for (int i = 1; i < argc; i++) {
        struct stat st;
        if (stat(argv[i], &st) == 0 && S_ISDIR(st.st_mode)) {
            DIR* dir = opendir(argv[i]);
            while (dirent* e = readdir(dir)) {
                if (e->d_name[0] == '.') continue;
                count += replayFile(std::string(argv[i]) + "/" + e->d_name);
            }
            closedir(dir);
        } else {
            count += replayFile(argv[i]);
        }
    }
    printf("replayed %d inputs\n", count);
    return count > 0 ? 0 : 1;
}
