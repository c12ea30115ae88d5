#pragma once

// The General settings as the batch run asks for them, at the moment it needs them.
class IGeneralSettings
{
public:
    virtual ~IGeneralSettings() = default;
    // An output file that already exists is replaced.
    virtual bool OverwriteChosen() const = 0;
    // An output file that already exists is kept; the new one gets the task's index in its name.
    virtual bool RenameChosen() const = 0;
    // After a completed batch: open the output folder, exit the program, turn the computer off.
    virtual bool OpenDirChosen() const = 0;
    virtual bool ExitChosen() const = 0;
    virtual bool TurnOffChosen() const = 0;
};
