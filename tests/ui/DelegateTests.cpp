#include <windows.h>

#include "ui/Delegate.h"
#include "ui/DelegateListUI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using SkinUI::CDelegate;
using SkinUI::CDelegateBase;
using SkinUI::CDelegateListUI;
using SkinUI::MakeDelegate;

namespace {

class Handler {
public:
    explicit Handler(std::vector<std::string>* log, bool answer = true)
        : log_(log), answer_(answer) {}
    virtual ~Handler() = default;
    bool OnFirst(void* param) {
        log_->push_back("first:" + std::to_string(*static_cast<int*>(param)));
        return answer_;
    }
    bool OnSecond(void*) {
        log_->push_back("second");
        return answer_;
    }
    virtual bool OnVirtual(void*) {
        log_->push_back("base-virtual");
        return true;
    }

protected:
    std::vector<std::string>* log_;
    bool answer_;
};

class DerivedHandler : public Handler {
public:
    using Handler::Handler;
    bool OnVirtual(void*) override {
        log_->push_back("derived-virtual");
        return true;
    }
};

int g_staticCalls = 0;
bool StaticHook(void*) {
    ++g_staticCalls;
    return true;
}

// Counts its own copies and deletions, to see what the list owns.
int g_liveCopies = 0;
class CountingDelegate : public CDelegateBase {
public:
    CountingDelegate(void* object, void* fn, bool answer, std::vector<int>* calls, int id)
        : CDelegateBase(object, fn), answer_(answer), calls_(calls), id_(id), copy_(false) {}
    CountingDelegate(const CountingDelegate& rhs)
        : CDelegateBase(rhs), answer_(rhs.answer_), calls_(rhs.calls_), id_(rhs.id_), copy_(true) {
        ++g_liveCopies;
    }
    ~CountingDelegate() override {
        if (copy_) {
            --g_liveCopies;
        }
    }
    CDelegateBase* Copy() const override { return new CountingDelegate(*this); }
    bool Invoke(void*) override {
        calls_->push_back(id_);
        return answer_;
    }

private:
    bool answer_;
    std::vector<int>* calls_;
    int id_;
    bool copy_;
};

} // namespace

TEST(DelegateTest, MemberDelegateCallsTheOperation) {
    std::vector<std::string> log;
    Handler h(&log);
    auto d = MakeDelegate(&h, &Handler::OnFirst);
    int value = 5;
    EXPECT_TRUE(d(&value));
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ("first:5", log[0]);

    CDelegateBase* copy = d.Copy();
    EXPECT_TRUE(copy->Equals(d));
    EXPECT_TRUE((*copy)(&value));
    delete copy;
    EXPECT_EQ(2u, log.size());
}

TEST(DelegateListTest, StopsAtFirstFalse) {
    std::vector<std::string> log;
    Handler yes(&log, true), no(&log, false), yes2(&log, true);
    CDelegateListUI list;
    EXPECT_FALSE(static_cast<bool>(list));
    EXPECT_TRUE(list(nullptr)); // empty list: true
    int value = 1;
    list += MakeDelegate(&yes, &Handler::OnFirst);
    list += MakeDelegate(&no, &Handler::OnFirst);
    list += MakeDelegate(&yes2, &Handler::OnFirst);
    EXPECT_TRUE(static_cast<bool>(list));
    EXPECT_FALSE(list(&value));
    EXPECT_EQ(2u, log.size());

    log.clear();
    list -= MakeDelegate(&no, &Handler::OnFirst);
    EXPECT_TRUE(list(&value));
    EXPECT_EQ(2u, log.size());
}

TEST(DelegateListTest, SameDelegateTwiceKeepsOneCopy) {
    std::vector<std::string> log;
    Handler h(&log);
    CDelegateListUI list;
    list += MakeDelegate(&h, &Handler::OnSecond);
    list += MakeDelegate(&h, &Handler::OnSecond);
    list += MakeDelegate(StaticHook);
    list += MakeDelegate(StaticHook);
    g_staticCalls = 0;
    EXPECT_TRUE(list(nullptr));
    EXPECT_EQ(1u, log.size());
    EXPECT_EQ(1, g_staticCalls);
}

TEST(DelegateListTest, OwnsItsCopiesAndCallsInOrder) {
    std::vector<int> calls;
    int objects[3];
    {
        CDelegateListUI list;
        for (int i = 0; i < 3; ++i) {
            CountingDelegate d(&objects[i], nullptr, true, &calls, i);
            list += d; // the caller keeps its own delegate
        }
        EXPECT_EQ(3, g_liveCopies);
        EXPECT_TRUE(list(nullptr));
        EXPECT_EQ((std::vector<int>{0, 1, 2}), calls);
    }
    EXPECT_EQ(0, g_liveCopies); // the list deleted its copies
}
