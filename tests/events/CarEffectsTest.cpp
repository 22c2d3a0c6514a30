// The triggers and effects that work on cars: the action button, handling changes and respawns.

#include "EventWorld.h"

#include "events/ActionButtonTrigger.h"
#include "events/CarParamsEffect.h"
#include "events/DestroyObjectEffect.h"
#include "events/SpawnEffect.h"
#include "world/CarDoubles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zentrix;

namespace {

constexpr int kCar = 60000;
constexpr int kOtherCar = 60001;

class CarEvents : public eventstest::EventWorld {
protected:
    CCarObject* MakeCar(CVector at, int assetId = kCar) {
        auto* car = dynamic_cast<CCarObject*>(Make(assetId, at));
        EXPECT_NE(car, nullptr);
        return car;
    }
};

TEST_F(CarEvents, TheActionButtonHoldsOnPressesHalfASecondApartUpToItsCount) {
    CCarObject* car = MakeCar({0, 0, 0});
    cartest::ScriptedDriver driver;
    car->AssignDriver(&driver);
    struct Case {
        const char* script;
        const char* buttons; // per 100 ms frame: 'x' held down, '.' up
        const char* holds;
    };
    const Case cases[] = {
        // A press within 500 ms of the build or of the last firing does not count; two at most.
        {"ActionButtonTrigger<ActivationTimes=2>", "x....x.x.....x.....x", "00000100000001000000"},
        // Holding the button down is one press.
        {"ActionButtonTrigger<ActivationTimes=2>", "......xxxxxx", "000000100000"},
        // No limit.
        {"ActionButtonTrigger<ActivationTimes=0>", "......x.....x.....x", "0000001000001000001"},
        {"ActionButtonTrigger<ActivationTimes=-1>", "......x.....x", "0000001000001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        CActionButtonTrigger trigger;
        ASSERT_TRUE(trigger.Init(Item(c.script), car));
        std::string holds;
        for (const char* b = c.buttons; *b; ++b) {
            driver.controls.button1 = *b == 'x' ? 1 : 0;
            car->Update(100); // the car sees the button go down
            trigger.Update(100);
            holds += trigger.IsTriggered() ? '1' : '0';
        }
        EXPECT_EQ(holds, c.holds);
        driver.controls.button1 = 0;
        car->Update(100);
    }
    car->AssignDriver(nullptr);
    CActionButtonTrigger onPlain;
    EXPECT_FALSE(onPlain.Init(Item("ActionButtonTrigger<>"), Make(kPlain, {0, 0, 0})));
}

TEST_F(CarEvents, HandlingChangesReachTheOwnerCarOrTheOtherCarsBySelf) {
    struct Case {
        const char* params;
        bool ownerIsCar, built;
        float ownerFactor, otherFactor; // of the top speed
    };
    const Case cases[] = {
        {"MaxSpeed=2,Self=1", true, true, 2.0f, 1.0f},
        {"MaxSpeed=2", true, true, 2.0f, 1.0f}, // Self left out: 1
        {"MaxSpeed=2,Self=0", true, true, 1.0f, 2.0f},
        {"MaxSpeed=2,Self=1", false, true, 1.0f, 1.0f}, // not a car: nothing at all
        {"MaxSpeed=2,Self=0", false, true, 1.0f, 2.0f},
        // Factors are undone by dividing: 0 or below is refused.
        {"MaxSpeed=0", true, false, 1.0f, 1.0f},
        {"Grip=-1", true, false, 1.0f, 1.0f},
        {"MaxSpeed=2,MaxSpeed=1e30", true, true, 2.0f, 1.0f}, // the second value is out of range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        CWorldMan::DeleteAllObjects();
        CWorldObject* owner = c.ownerIsCar ? MakeCar({0, 0, 0}) : Make(kPlain, {0, 0, 0});
        CCarObject* other = MakeCar({10, 0, 0}, kOtherCar); // cars of one asset share their handling
        auto* ownerCar = dynamic_cast<CCarObject*>(owner);
        const float ownerSpeed = ownerCar ? ownerCar->GetTopSpeed() : 0.0f;
        const float otherSpeed = other->GetTopSpeed();
        CCarParamsEffect effect;
        ASSERT_EQ(effect.Init(Item(std::string("CarParamsEffect<") + c.params + ",Lifetime=1000>"), owner),
                  c.built);
        if (!c.built)
            continue;
        effect.Fire({owner, other, owner});
        if (ownerCar)
            EXPECT_FLOAT_EQ(ownerCar->GetTopSpeed(), ownerSpeed * c.ownerFactor);
        EXPECT_FLOAT_EQ(other->GetTopSpeed(), otherSpeed * c.otherFactor);
    }
    // Factors left out are 1.
    CCarParamsEffect single;
    ASSERT_TRUE(single.Init(Item("CarParamsEffect<Braking=0.5>"), Make(kPlain, {0, 0, 0})));
    EXPECT_EQ(single.GetModifiers().acceleration, 1.0f);
    EXPECT_EQ(single.GetModifiers().braking, 0.5f);
    EXPECT_EQ(single.GetModifiers().slideAngle, 1.0f);
}

TEST_F(CarEvents, DestroyingEndsTheOwnerOrPutsTheOtherCarsBack) {
    CCarObject* owner = MakeCar({0, 0, 0});
    CCarObject* car = MakeCar({10, 0, 0});
    CWorldObject* plain = Make(kPlain, {5, 0, 0});
    // A car just set up is not put back: let the guard pass.
    owner->Update(300);
    car->Update(300);
    const float ownerY = owner->Position().y;
    CDestroyObjectEffect respawn;
    ASSERT_TRUE(respawn.Init(Item("DestroyObjectEffect<ApplyToSelf=0>"), owner));
    respawn.Fire({owner, plain, car});
    EXPECT_GT(car->Position().y, 20.0f); // back above where it was
    EXPECT_EQ(owner->Position().y, ownerY);
    EXPECT_FALSE(owner->IsDead() || car->IsDead() || plain->IsDead());

    CDestroyObjectEffect destroy;
    ASSERT_TRUE(destroy.Init(Item("DestroyObjectEffect<>"), plain));
    destroy.Fire({car});
    EXPECT_TRUE(plain->IsDead());
    EXPECT_FALSE(car->IsDead());
}

TEST_F(CarEvents, ASpawnedCarHasNoDriverAndStandsStill) {
    CSpawnEffect spawn;
    ASSERT_TRUE(spawn.Init(Item("SpawnEffect<Objects={60001},Position={0;0;5}>"), Make(kPlain, {0, 0, 0})));
    spawn.Fire({});
    CCarObject* car = nullptr;
    for (const auto& object : CWorldMan::GetObjectList())
        car = car ? car : dynamic_cast<CCarObject*>(object.get());
    ASSERT_NE(car, nullptr);
    EXPECT_EQ(car->GetDriverSlot(), -1);
    const CVector at = car->Position();
    for (int frame = 0; frame < 10; ++frame) {
        CWorldMan::UpdateObjects(40);
        CWorldMan::SimulateActiveObjects(40);
        CWorldMan::FinishActiveObjects(40);
    }
    // Neutral controls: no throttle, no steering.
    EXPECT_NEAR(car->Position().x, at.x, 1e-3f);
    EXPECT_NEAR(car->Position().z, at.z, 1e-3f);
}

} // namespace
