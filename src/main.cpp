#include "Flitmere.hpp"

int main()
{
    Flitmere flitmere;
    flitmere.play();
    return 0;
}
