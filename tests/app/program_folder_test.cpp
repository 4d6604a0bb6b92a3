#include "app/program_folder.h"

#include <gtest/gtest.h>

using vantor::ProgramFolder;

TEST(ProgramFolder, ExecutableFolderWhenWritableElseUserDataFolder) {
    QProcessEnvironment env;
    env.insert("HOME", "/home/ann");
    const auto writable = [](const QString&) { return true; };
    const auto readOnly = [](const QString&) { return false; };
    EXPECT_EQ(ProgramFolder("/opt/vantor/bin/", env, writable), "/opt/vantor/bin");
    EXPECT_EQ(ProgramFolder("/usr/bin", env, readOnly), "/home/ann/.local/share/vantor");
    env.insert("XDG_DATA_HOME", "/data/ann");
    EXPECT_EQ(ProgramFolder("/usr/bin", env, readOnly), "/data/ann/vantor");
    // A relative XDG_DATA_HOME is ignored, as the base directory rules say.
    env.insert("XDG_DATA_HOME", "relative");
    EXPECT_EQ(ProgramFolder("/usr/bin", env, readOnly), "/home/ann/.local/share/vantor");
}
