#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

/** The FCB 1010's whole-memory programming dump (stock firmware 2.4 and 2.5).

    The board sends and receives its whole memory as one system-exclusive message of 2352 bytes: a
    seven-byte header, the 2051-byte memory image packed seven bytes into eight, and F7. The memory
    holds 100 presets of 16 bytes (ten banks of ten footswitches), then a global area with the MIDI
    channels, the configuration flags and the pedal calibration.

    An object holds one memory image. It is a plain value: copy it freely. Nothing here is thread-safe
    beyond what a const object gives.
*/
class VlFcbDump
{
public:
    //==============================================================================
    /** One byte of the dump or of the memory image. */
    using Byte = std::uint8_t;

    /** Banks on the board, selected with UP and DOWN. */
    static constexpr int numBanks = 10;
    /** Footswitches per bank; footswitch 10 is the one marked "10/0". */
    static constexpr int numFootswitches = 10;
    /** Presets in the memory image: one per bank and footswitch. */
    static constexpr int numPresets = numBanks * numFootswitches;
    /** Size of the decoded memory image: 293 groups of seven bytes. */
    static constexpr std::size_t memorySize = 2051;
    /** Size of the whole message, header and F7 included. */
    static constexpr std::size_t dumpSize = 2352;
    /** The message's first bytes: F0, manufacturer 00 20 32, 01, the board's model 0C and the function
        "full memory dump" 0F. Every dump the board makes has 01 at index 4; its meaning is unknown.
    */
    static constexpr std::array<Byte, 7> header { 0xF0, 0x00, 0x20, 0x32, 0x01, 0x0C, 0x0F };
    /** The message's last byte. */
    static constexpr Byte endOfExclusive = 0xF7;

    /** The decoded memory image. */
    using Memory = std::array<Byte, memorySize>;

    //==============================================================================
    /** A preset's program change: program 0..127 stands for program 1..128. */
    struct ProgramChange
    {
        bool enabled = false; /**< Sent when the preset is selected. */
        int program = 0;      /**< 0..127. */

        /** Member-wise comparison. */
        bool operator== (const ProgramChange&) const = default;
    };

    /** A preset's fixed control change (CNT 1 or CNT 2) and the relay switch that shares its value byte. */
    struct ControlChange
    {
        bool enabled = false; /**< Sent when the preset is selected. */
        int controller = 0;   /**< 0..127. */
        int value = 0;        /**< 0..127. */
        bool relayOn = false; /**< SWITCH 1 for CNT 1, SWITCH 2 for CNT 2. */

        /** Member-wise comparison. */
        bool operator== (const ControlChange&) const = default;
    };

    /** A preset's expression pedal (EXP A or EXP B): its controller, sent from `lower` (pedal up) to
        `upper` (pedal down).
    */
    struct Pedal
    {
        bool enabled = false; /**< Sent while the pedal moves. */
        int controller = 0;   /**< 0..127. */
        int lower = 0;        /**< Value with the pedal up, 0..127; the board wants it below `upper`. */
        int upper = 127;      /**< Value with the pedal down, 0..127. */

        /** Member-wise comparison. */
        bool operator== (const Pedal&) const = default;
    };

    /** A preset's note, sent each time the preset's footswitch is pressed. */
    struct Note
    {
        bool enabled = false; /**< Sent when the preset's footswitch is pressed. */
        int number = 0;       /**< 0..127. */

        /** Member-wise comparison. */
        bool operator== (const Note&) const = default;
    };

    /** Everything one preset sends. Every number is 0..127. */
    struct Preset
    {
        /** PC 1 .. PC 5. */
        std::array<ProgramChange, 5> programChanges {};
        /** CNT 1 and CNT 2. */
        std::array<ControlChange, 2> controlChanges {};
        /** EXP A and EXP B. */
        std::array<Pedal, 2> pedals {};
        /** NOTE. */
        Note note {};

        /** Member-wise comparison. */
        bool operator== (const Preset&) const = default;
    };

    /** The kinds of message a preset sends, in the order of the board's MIDI channel table. */
    enum class Function
    {
        programChange1,
        programChange2,
        programChange3,
        programChange4,
        programChange5,
        controlChange1,
        controlChange2,
        pedalA,
        pedalB,
        note
    };

    /** The global flags and the pedal calibration kept after the presets. */
    struct Settings
    {
        bool configSwitch1 = false; /**< CONFIG "SWITCH 1": UP toggles relay 1 under DIRECT SELECT. */
        bool configSwitch2 = false; /**< CONFIG "SWITCH 2", the same for relay 2. */
        bool directSelect = false;  /**< Footswitches pick a bank, then a preset. */
        bool runningStatus = false; /**< Repeated status bytes left out. */
        bool merge = false;         /**< MIDI IN echoed to MIDI OUT. */
        /** Raw converter readings: pedal A minimum and maximum, then pedal B minimum and maximum. */
        std::array<Byte, 4> pedalCalibration {};

        /** Member-wise comparison. */
        bool operator== (const Settings&) const = default;
    };

    //==============================================================================
    /** Wraps a memory image as it is, bytes the board alone understands included. */
    explicit VlFcbDump (const Memory& image);

    /** The image that makes the board match Veltrino's default learn table: in every bank, footswitch n
        sends note n, pedal A controller 1 and pedal B controller 7 (both 0..127), all on MIDI channel 1,
        and nothing else. The global area is that of the board's own factory dumps, unchanged.
    */
    static VlFcbDump forDefaultLearnTable();

    //==============================================================================
    /** The preset of a bank (0..9) and footswitch (1..10).
        @throws std::out_of_range for any other bank or footswitch.
    */
    Preset getPreset (int bank, int footswitch) const;

    /** Replaces all 16 bytes of the preset of a bank (0..9) and footswitch (1..10).
        @throws std::out_of_range for any other bank or footswitch.
        @throws std::invalid_argument when a number lies outside 0..127: it would overwrite a flag.
    */
    void setPreset (int bank, int footswitch, const Preset& preset);

    /** The MIDI channel (1..16) on which every preset sends this kind of message. */
    int getMidiChannel (Function function) const;

    /** The global flags and the pedal calibration. */
    Settings getSettings() const;

    /** The whole memory image. */
    const Memory& getMemory() const noexcept { return memory; }

    //==============================================================================
    /** The system-exclusive message of dumpSize bytes that carries this image. */
    std::vector<Byte> encode() const;

    /** Reads a whole system-exclusive message as the board sends it.
        Anything but exactly dumpSize bytes with the header, F7 at the end and bit 7 clear in every byte
        between them is refused: the result is empty and `error` says what is wrong and where.
    */
    static std::optional<VlFcbDump> decode (std::span<const Byte> message, std::string& error);

private:
    //==============================================================================
    Memory memory;
};
