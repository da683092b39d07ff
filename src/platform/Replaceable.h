#pragma once

namespace ludora::platform {

// A system service that tests replace by a double: the system's own serves unless a
// replacement is in place. Each service's source file defines system(), which makes the
// system's own on first use.
template <class Service>
class Replaceable {
public:
    // The service in use.
    static Service& get() { return replacement_ ? *replacement_ : system(); }
    // The system's own service.
    static Service& system();
    // Puts another service in place (nullptr: the system's own again).
    static void replace(Service* replacement) { replacement_ = replacement; }

    // A replacement in place for as long as it lives: test doubles derive from it.
    class Replacement : public Service {
    public:
        Replacement(const Replacement&) = delete;
        Replacement& operator=(const Replacement&) = delete;

    protected:
        Replacement() { replace(this); }
        ~Replacement() override { replace(nullptr); }
    };

private:
    static inline Service* replacement_ = nullptr;
};

}  // namespace ludora::platform
