#include "resources/HelpTextTable.h"

namespace VlResources
{
    // 0-6 the editor's patches pane, 10-14 controls, 20-26 states, 30-38 actions,
    // 40-42 the MIDI input dialog, 50-90 the property rows (property id + 49).
    const char* const helpTextTable[numHelpTexts + 1] = {
        /*  0 */ "This list shows all the patches defined in the current document.\n\n"
                 "A Veltrino patch defines the behaviour of the 10 footswitches and the 2 expression pedals of a FCB "
                 "1010. Each patch is identified by a unique progressive number, which is automatically assigned, and "
                 "by a user name. The name does not need to be unique, altough this is surely advisable.",
        /*  1 */ "This button creates a new, empty patch.",
        /*  2 */ "This button duplicates the current patch.",
        /*  3 */ "This button deletes the current patch. Be warned: this is not undoable.",
        /*  4 */ "This button deletes all the patches defined in the document. Be warned: this is not undoable.",
        /*  5 */ "This button moves back one position the current patch.",
        /*  6 */ "This button moves forward one position the current patch.",
        /*  7 */ "",
        /*  8 */ "",
        /*  9 */ "",
        /* 10 */
        "This list shows the controls definitions for the current patch. There may be up to 10 footswitches and 2 "
        "expression pedals in a patch.\n\n"
        "The appearance of controls is customizable to enhance their visibility.\n\n"
        "Controls can be linked to another control. In this case both their appearance and their functions are "
        "inherited from the reference control.",
        /* 11 */ "This button adds a new empty control definition to the current patch.",
        /* 12 */ "This button duplicates the definition of the current control.",
        /* 13 */ "This button deletes the definition of the current control. Be warned: this is not undoable.",
        /* 14 */ "This button deletes all control definitions for the current patch. Be warned: this is not undoable.",
        /* 15 */ "",
        /* 16 */ "",
        /* 17 */ "",
        /* 18 */ "",
        /* 19 */ "",
        /* 20 */
        "This list shows all the states defined for the current control.\n\n"
        "A footswitch can have up to 256 states, while expression pedals have always only one.\n\n"
        "A 'multi-state' footswitch passes from one state to another each time that the corresponding button is "
        "pressed. The sequence respects the order defined and begins again when it reaches the end.",
        /* 21 */ "This button adds a new empty state to the current control.",
        /* 22 */ "This button duplicates the current state.",
        /* 23 */ "This button deletes the current state. Be warned: this is not undoable.",
        /* 24 */ "This button deletes all states for the current control. Be warned: this is not undoable.",
        /* 25 */ "This button moves back one position the current state.",
        /* 26 */ "This button moves forward one position the current state.",
        /* 27 */ "",
        /* 28 */ "",
        /* 29 */ "",
        /* 30 */
        "This list shows all the actions defined for the current state.\n\n"
        "Actions can be of various types and occur in the order that appears in the list.\n\n"
        "Currently you can define actions to send MIDI messages such as 'program change', 'control change', 'note' and "
        "'system exclusive'. Other 'internal' actions allow you to change the current patch or to mute or unmute a "
        "specific expression pedal.",
        /* 31 */ "This button adds a new action to the current state.",
        /* 32 */ "This button duplicates the current action.",
        /* 33 */ "This button deletes the current action. Be warned: this is not undoable.",
        /* 34 */ "This button deletes all actions for the current state. Be warned: this is not undoable.",
        /* 35 */ "This button anticipates the current action.",
        /* 36 */ "This button postpones the current action.",
        /* 37 */ "This button executes the current action.",
        /* 38 */ "This button executes all actions for the current state.",
        /* 39 */ "",
        /* 40 */
        "This button activates the 'MIDI learning mode', which allows Veltrino discern which pedals are pressed on "
        "your FCB 1010.\n\n"
        "Veltrino works on the assumption that each footswitch will send a different MIDI 'note' message and that each "
        "expression pedal will send a different MIDI 'CC' message, in the range 0-127.\n\n"
        "When a footswitch or an expression pedal is shown in green, press the corresponding control on the FCB "
        "1010.\n\n"
        "When you press the last footswitch, Veltrino will automatically return to its normal operation. Press the "
        "button again or close the box if you want to end the operation before its completion.",
        /* 41 */ "Select here the MIDI device that corresponds to your FCB 1010.",
        /* 42 */ "Select here the MIDI channel used by your FCB 1010 to send note and control change messages.",
        /* 43 */ "",
        /* 44 */ "",
        /* 45 */ "",
        /* 46 */ "",
        /* 47 */ "",
        /* 48 */ "",
        /* 49 */ "",
        /* 50 */ "This text identifies the patch in the main window list.",
        /* 51 */ "You can use this space for a few remarks on the patch. The comment appears only here.",
        /* 52 */ "This text identifies the control in the main window.",
        /* 53 */ "This text can be used to indicate the recipient of the actions defined for this control.",
        /* 54 */ "If the control has more than one state, this is the name that identifies it.",
        /* 55 */ "You can use this space for a few remarks on the action. The comment appears only here.",
        /* 56 */
        "This is the sequence of bytes that will be sent to the chosen device.\n\n"
        "Indicate the bytes in hexadecimal, separated by a space. Do not include the F0 prefix and the F7 suffix.\n\n"
        "If this action refers to an expression pedal, use the '*' character to indicate where the current value of "
        "the expression pedal will be inserted.\n\n"
        "If you need to specify a 'Roland checksum', use the '$' character to indicate the starting point of the "
        "sequence included in the checksum and the '=' character to indicate the end of the sequence as well as its "
        "insertion point.",
        /* 57 */
        "This will be the minimum transmitted value.\n"
        "Incoming values will be remapped according to this setting.",
        /* 58 */
        "This will be the maximum transmitted value.\n"
        "Incoming values will be remapped according to this setting.",
        /* 59 */
        "This value determines the operation of the 'go up' (^) footswitch in the 'navigation' mode (see the command "
        "'Setup/Navigation...').\n\n"
        "When in this mode, the (^) footswitch will select a patch with a higher rank than the current patch, if "
        "any.\n\n"
        "A higher rank patch must contain the definition of a 'go to patch' action pointing to the current patch and "
        "has a lower level number. '0' represents the highest rank.",
        /* 60 */ "This is the state that is set for the footswitch when the document is loaded.",
        /* 61 */ "This is the value that is set for the expression pedal when the document is loaded.",
        /* 62 */
        "When this setting is 'yes', the control is simply a 'link' to another control defined elsewhere.\n\n"
        "In this case both its appearance and its functions will be inherited from the reference control.",
        /* 63 */ "This is the patch that contains the reference control for this link.",
        /* 64 */ "This is the reference control for this link.",
        /* 65 */ "This setting indicates whether the action will be executed by pressing or releasing the footswitch.",
        /* 66 */ "This is the patch that will be selected by performing the action.",
        /* 67 */
        "This is the patch that contains the expression pedal to be muted or unmuted by performing the action.",
        /* 68 */ "This is the expression pedal to be muted or unmuted by performing the action.",
        /* 69 */ "This setting indicates whether the expression pedal will be muted or unmuted.",
        /* 70 */ "This is the MIDI channel that will receive the message.",
        /* 71 */ "This is the MIDI device that will receive the message.",
        /* 72 */ "This is the MIDI device that will receive the message.",
        /* 73 */
        "This determines whether the value corresponding to the state of the expression pedal will be sent using 1 or "
        "2 bytes.",
        /* 74 */ "This is the number (0-127) of the MIDI program that will be selected.",
        /* 75 */ "This is the value (0-127) that will be assigned to the MIDI control.",
        /* 76 */
        "This will be the minimum transmitted value.\n"
        "Incoming values will be remapped according to this setting.",
        /* 77 */
        "This will be the maximum transmitted value.\n"
        "Incoming values will be remapped according to this setting.",
        /* 78 */ "This identifies the MIDI control that will be changed.",
        /* 79 */ "This is the velocity (0-127) of the MIDI note that will be generated.",
        /* 80 */ "This is the MIDI note (C2-G8) that will be generated.",
        /* 81 */
        "This is the footswitch which is used to enable or hide the special 'navigation' patch that allows to move "
        "through the list of the defined patches, of the visited ones, or go to a patch with a higher rank.\n\n"
        "This footswitch will appear in all patches, superimposed on any existing definition.\n\n"
        "Select 'none' to hide this footswitch, thus disabling the navigation functions.",
        /* 82 */
        "This is the footswitch that is used to select a patch with a higher rank than the current patch, if any.\n\n"
        "A higher rank patch must contain the definition of a 'go to patch' action pointing to the current patch and "
        "has a lower level number.\n"
        "'0' represents the highest rank.\n\n"
        "Select 'none' to hide this footswitch in the 'navigation' patch.",
        /* 83 */
        "This is the footswitch which is used to select the previous patch in the list of those visited.\n\n"
        "Select 'none' to hide this footswitch in the 'navigation' patch.",
        /* 84 */
        "This is the footswitch which is used to select the next patch in the list of those visited.\n\n"
        "Select 'none' to hide this footswitch in the 'navigation' patch.",
        /* 85 */
        "This is the footswitch which is used to select the next patch in the list of those defined.\n\n"
        "Select 'none' to hide this footswitch in the 'navigation' patch.",
        /* 86 */
        "This is the footswitch which is used to select the previous patch in the list of those defined.\n\n"
        "Select 'none' to hide this footswitch in the 'navigation' patch.",
        /* 87 */
        "This is the color used for the background of the patch.\n\n"
        "There is a library of specific colors for the backgrounds of the patches. Using the menu that appears when "
        "you click on the color, you can choose a color from those available in the library, or add a new one, or "
        "modify or delete existing colors.",
        /* 88 */
        "This is the color used to paint the control.\n\n"
        "There is a library of specific colors for the controls. Using the menu that appears when you click on the "
        "color, you can choose a color from those available in the library, or add a new one, or modify or delete "
        "existing colors.",
        /* 89 */
        "If the control has more than one state, this is the color with which the name of the state is painted.\n\n"
        "There is a library of specific colors for the names of states. Using the menu that appears when you click on "
        "the color, you can choose a color from those available in the library, or add a new one, or modify or delete "
        "existing colors.",
        /* 90 */
        "This is the color used to paint the 'navigation' controls.\n\n"
        "There is a library of specific colors for the controls. Using the menu that appears when you click on the "
        "color, you can choose a color from those available in the library, or add a new one, or modify or delete "
        "existing colors.",
        nullptr
    };
}
