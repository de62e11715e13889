#pragma once

#include <string>

namespace bp {

// Where the database lives: the data folder and the database file in it.
class DatabasePaths {
public:
    // The database is "Brightpost.dat" in the folder.
    void setDataFolder(const std::string& folder) {
        dataFolder_ = folder;
        databasePath_ = folder + "/Brightpost.dat";
    }
    // A database file of another name (tools): its folder becomes the data folder.
    void setDatabasePath(const std::string& path) {
        const auto slash = path.rfind('/');
        dataFolder_ = slash == std::string::npos ? "." : (slash == 0 ? "" : path.substr(0, slash));
        databasePath_ = path;
    }
    const std::string& dataFolder() const { return dataFolder_; }
    const std::string& databasePath() const { return databasePath_; }
    std::string temporaryPath() const { return dataFolder_ + "/~tmp.dat"; }

private:
    std::string dataFolder_;
    std::string databasePath_;
};

}  // namespace bp
