#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "NodeList.h"

namespace rova {
namespace {

// A node that knows how many of its kind are alive, so that lost and doubly freed nodes show.
struct Node {
    explicit Node(int v) : value(v) { ++alive; }
    ~Node() { --alive; }
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    int value;
    static inline int alive = 0;
};

NodeList<Node> listOf(std::initializer_list<int> values) {
    NodeList<Node> list;
    for (int v : values) {
        list.append(std::make_unique<Node>(v));
    }
    return list;
}

std::vector<int> valuesOf(const NodeList<Node>& list) {
    std::vector<int> values;
    for (const Node& node : list) {
        values.push_back(node.value);
    }
    return values;
}

class NodeListTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(Node::alive, 0) << "a node outlived its owner"; }
};

TEST_F(NodeListTest, InsertsNodesAndChainsAtAnIndexAndFindsThem) {
    NodeList<Node> list = listOf({1, 2, 3});
    list.insert(1, listOf({10, 11}));
    list.insert(0, std::make_unique<Node>(0));
    list.insert(99, std::make_unique<Node>(9));  // past the end: appended
    NodeList<Node> chain = listOf({7});
    list.insert(6, std::move(chain));
    EXPECT_TRUE(chain.empty());
    EXPECT_EQ(valuesOf(list), (std::vector<int>{0, 1, 10, 11, 2, 3, 7, 9}));
    EXPECT_EQ(Node::alive, 8);

    ASSERT_NE(list.at(7), nullptr);
    EXPECT_EQ(list.at(7)->value, 9);
    EXPECT_EQ(list.at(8), nullptr);
    EXPECT_EQ(list.indexOf(*list.at(2)), 2u);
    Node stranger(5);
    EXPECT_FALSE(list.indexOf(stranger).has_value());
}

TEST_F(NodeListTest, DetachesRunsAndNodesOfItsOwnAndHandsOverOwnership) {
    NodeList<Node> list = listOf({1, 2, 3, 4, 5});
    NodeList<Node> run = list.detachRun(1, 2);
    EXPECT_EQ(valuesOf(run), (std::vector<int>{2, 3}));
    NodeList<Node> tail = list.detachRun(2, 10);  // runs past the end stop there
    EXPECT_EQ(valuesOf(tail), (std::vector<int>{5}));
    EXPECT_TRUE(list.detachRun(7, 1).empty());
    EXPECT_EQ(valuesOf(list), (std::vector<int>{1, 4}));
    run = NodeList<Node>{};
    EXPECT_EQ(Node::alive, 3);

    Node& first = *list.at(0);
    EXPECT_EQ(list.detach(*tail.at(0)), nullptr);  // not in this list
    const std::unique_ptr<Node> detached = list.detach(first);
    ASSERT_EQ(detached.get(), &first);
    EXPECT_EQ(list.detach(first), nullptr);  // no longer in the list
    EXPECT_EQ(valuesOf(list), std::vector<int>{4});
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(Node::alive, 2);
}

TEST_F(NodeListTest, MovesANodeForwardAndBackwardWithinItsBounds) {
    NodeList<Node> list = listOf({0, 1, 2, 3, 4});
    Node* moved = list.at(1);
    ASSERT_TRUE(list.move(1, 3));
    EXPECT_EQ(list.at(3), moved);  // the node itself moves, not a copy
    for (const auto& [from, to, done] :
         {std::tuple{4, 0, true}, {2, 2, true}, {5, 0, false}, {0, 5, false}}) {
        EXPECT_EQ(list.move(from, to), done) << from << " to " << to;
    }
    EXPECT_EQ(valuesOf(list), (std::vector<int>{4, 0, 2, 3, 1}));
}

}  // namespace
}  // namespace rova
