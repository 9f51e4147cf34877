#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <utility>

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

    /** The instance; when there is none and `create` is true, first the object that
        `make` returns (a std::unique_ptr<Object>), which registers itself and stays
        until deleteInstance(). Null otherwise.
    */
    template <typename Make>
    static Object* getOrCreate (bool create, Make&& make)
    {
        if (current == nullptr && create)
            created = make().release();

        return current;
    }

    /** As above, with the object made by its default constructor. */
    static Object* getOrCreate (bool create)
    {
        // Made here, not by make_unique: a class with a private constructor befriends only us.
        return getOrCreate (create, [] { return std::unique_ptr<Object> (new Object()); });
    }

    /** Deletes the object that getOrCreate() made, if any; one made elsewhere stays its maker's. */
    static void deleteInstance() { delete std::exchange (created, nullptr); }

private:
    Object& object;

    inline static Object* current = nullptr;
    inline static Object* created = nullptr;

    JUCE_DECLARE_NON_COPYABLE (CSingleInstance)
};
