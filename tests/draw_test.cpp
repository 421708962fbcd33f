#include "fixture.h"

#include "main.h"

class DrawQueue : public GameTest {};

TEST_F(DrawQueue, CircleWithoutRadiusQueuesNothing) {
    buffer_circlefill(10, 10, 0, 1);
    buffer_circlefill(10, 10, -3, 1);
    EXPECT_TRUE(drawqueue.empty());
}
