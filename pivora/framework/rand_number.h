// Random numbers of the document model: article ids, random palette colours, user ids.
#pragma once

// Seeds the generator with the minutes and seconds of the local time (12:34:56 gives 3456).
void set_radm_seed();
// a .. b - 1 for b > a (a when b == a); seeds once per process on first use.
int get_rand_number(int a, int b);
