// Writes the pedal board programming dump that matches Veltrino's default learn table.
// Usage: VlMakeFcbDump <output file>

#include "tools/fcbdump/VlFcbDump.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace
{
    // Through a temporary file and a rename, so that a failed run never leaves a partial dump that the
    // build would take as up to date.
    void writeFile (const std::filesystem::path& path, const std::vector<VlFcbDump::Byte>& bytes)
    {
        if (path.has_parent_path())
            std::filesystem::create_directories (path.parent_path());

        auto temporary = path;
        temporary += ".partial";

        {
            std::ofstream out (temporary, std::ios::binary | std::ios::trunc);
            out.write (reinterpret_cast<const char*> (bytes.data()), static_cast<std::streamsize> (bytes.size()));
            out.close();

            if (! out)
                throw std::runtime_error ("cannot write " + temporary.string());
        }

        std::filesystem::rename (temporary, path);
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "VlMakeFcbDump") << " <output file>\n";
        return 2;
    }

    try
    {
        const auto bytes = VlFcbDump::forDefaultLearnTable().encode();

        // Never hand out a file that our own reader would refuse.
        std::string error;

        if (! VlFcbDump::decode (bytes, error))
            throw std::runtime_error ("generated dump is invalid: " + error);

        writeFile (argv[1], bytes);
    }
    catch (const std::exception& e)
    {
        std::cerr << "VlMakeFcbDump: " << e.what() << '\n';
        return 1;
    }

    return 0;
}
