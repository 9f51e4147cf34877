#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/** The one object of a class that exists at a time, as that class's getInstance()
    answers it.

    The object holds one of these as its last member: from the end of its members'
    construction to the start of their destruction, it is the instance that get()
    returns. getOrCreate() makes one on first use, which stays until deleteInstance().
    Main thread only.
*/
template <typename Object>
class CSingleInstance
{
public:
    /** Registers the object as the instance. */
    explicit CSingleInstance (Object& objectToRegister) noexcept
        : object (objectToRegister)
    {
        // A second object while the first lives: getInstance() would answer only the first.
        jassert (current == nullptr);
        current = &object;
    }

    /** Unregisters the object, if it is the instance. */
    ~CSingleInstance()
    {
        if (current == &object)
            current = nullptr;
    }

    //==============================================================================
    /** The instance, or null. */
    static Object* get() noexcept { return current; }

    /** The instance; when there is none and `create` is true, a new one first, which
        registers itself and stays until deleteInstance(). Null otherwise.
    */
    static Object* getOrCreate (bool create)
    {
        if (current == nullptr && create)
            new Object();

        return current;
    }

    /** Deletes the instance, if any. */
    static void deleteInstance() { delete current; }

private:
    Object& object;

    inline static Object* current = nullptr;

    JUCE_DECLARE_NON_COPYABLE (CSingleInstance)
};
