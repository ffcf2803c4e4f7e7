#include "script/json_object.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(JsonObjectTest, ParseAcceptsJsonAndRejectsTheRest) {
  JsonObject json;
  EXPECT_TRUE(json.Parse("{}"));
  EXPECT_TRUE(json.Parse(" [1, 2] "));
  EXPECT_TRUE(json.Parse("\"text\""));
  EXPECT_FALSE(json.Parse("null"));
  for (const char* bad : {"", "{", "{'a':1}", "{a:1}", "[1,]", "1 2", "{\"a\":1}}"}) {
    EXPECT_FALSE(json.Parse(bad)) << bad;
    EXPECT_EQ(json.TypeOf(), kJsonNull) << bad;
    EXPECT_EQ(json.ToText(), "null") << bad;
  }
}

TEST(JsonObjectTest, ReadsThroughMemberPaths) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(
      Gbk(R"({"data":[{"num":12345,"name":"人民"},{"num":0.5},{"ok":true}],"n":null,"f":false})")));
  EXPECT_EQ(json.Count("data"), 3);
  EXPECT_EQ(json.GetText("data[0].num"), "12345");
  EXPECT_EQ(json.GetText("data[1].num"), "0.5");
  EXPECT_EQ(json.GetText("data[0].name"), Gbk("人民"));
  EXPECT_EQ(json.GetText("data[2].ok"), "-1");
  EXPECT_EQ(json.GetText("f"), "0");
  EXPECT_EQ(json.GetText("n"), "");
  EXPECT_EQ(json.GetText("missing"), "");
  EXPECT_EQ(json.GetText("missing.deeper"), "");
  EXPECT_EQ(json.GetText("data[9].num"), "");
  EXPECT_EQ(json.GetText("data[0]", true), Gbk(R"({"num":12345,"name":"人民"})"));
  EXPECT_EQ(json.GetNumber("data[1].num"), 0.5);
  EXPECT_EQ(json.GetJson("data[1]"), R"({"num":0.5})");
}

TEST(JsonObjectTest, TypeOfKinds) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"b":true,"n":1,"o":{},"a":[],"s":"x","z":null})"));
  EXPECT_EQ(json.TypeOf(), kJsonObject);
  EXPECT_EQ(json.TypeOf("b"), kJsonBoolean);
  EXPECT_EQ(json.TypeOf("n"), kJsonNumber);
  EXPECT_EQ(json.TypeOf("o"), kJsonObject);
  EXPECT_EQ(json.TypeOf("a"), kJsonArray);
  EXPECT_EQ(json.TypeOf("s"), kJsonString);
  EXPECT_EQ(json.TypeOf("z"), kJsonNull);
  EXPECT_EQ(json.TypeOf("missing"), kJsonNull);
  EXPECT_EQ(json.TypeOf("missing.deeper"), kJsonOther);  // stepping through nothing fails
}

TEST(JsonObjectTest, CountAndKeys) {
  JsonObject json;
  EXPECT_EQ(json.Count(), 0);
  ASSERT_TRUE(json.Parse(R"({"b":1,"a":2,"list":[5,6]})"));
  std::vector<Text> keys = {"stale"};
  EXPECT_EQ(json.Keys(keys), 3);
  EXPECT_EQ(keys, (std::vector<Text>{"b", "a", "list"}));  // insertion order, list replaced
  EXPECT_EQ(json.Keys(keys, "list"), 2);
  EXPECT_EQ(keys, (std::vector<Text>{"0", "1"}));
  EXPECT_EQ(json.Count("a"), 0);
}

TEST(JsonObjectTest, StringifyWritesTheLibraryForm) {
  JsonObject json;
  json.SetText("password", Gbk("￥AbC'x￥"));
  EXPECT_EQ(json.ToText(), Gbk(R"({"password":"￥AbC'x￥"})"));
  ASSERT_TRUE(json.Parse(
      R"({"s":"q\"b\\s\/\b\f\n\r\t\u0001\u007f\u00ad\u2028\ufeff\u0e01","n":[1.0,1e21,-0.0,0.1]})"));
  EXPECT_EQ(json.ToText(),
            "{\"s\":\"q\\\"b\\\\s/\\b\\f\\n\\r\\t\\u0001\\u007f\\u00ad\\u2028\\ufeff?\","
            "\"n\":[1,1e+21,0,0.1]}");
}

TEST(JsonObjectTest, SettingOperations) {
  JsonObject json;
  json.SetNumber("t", 0.1 + 0.2);
  json.SetJson("o", R"({"k":[1]})");
  json.SetJson("bad", "{nope");
  Text empty;
  json.SetText("e", empty, true);
  EXPECT_EQ(empty, "{}");               // written back to the caller
  json.SetText("missing.deeper", "x");  // no parent: nothing happens
  EXPECT_EQ(json.ToText(), R"({"t":0.3,"o":{"k":[1]},"e":{}})");
  EXPECT_TRUE(json.Has("o.k"));
  EXPECT_FALSE(json.Has("nothing"));
  json.Delete("o");
  EXPECT_EQ(json.ToText(), R"({"t":0.3,"e":{}})");
  json.SetText("t", "again");  // an existing member keeps its place
  EXPECT_EQ(json.ToText(), R"({"t":"again","e":{}})");
}

TEST(JsonObjectTest, ArrayOperations) {
  JsonObject json;
  json.Push("a", "list");
  json.Push("{\"b\":2}", "list", true);
  json.Push("not json", "list", true);  // refused whole
  EXPECT_EQ(json.GetText("list", true), R"(["a",{"b":2}])");
  EXPECT_EQ(json.GetItem(1, "list", true), R"({"b":2})");
  EXPECT_EQ(json.GetItemObject(1, "list").GetText("b"), "2");
  EXPECT_EQ(json.GetItemObject(7, "list").TypeOf(), kJsonNull);

  json.ResetAs(kJsonArray);
  json.SetItem(2, "z");
  EXPECT_EQ(json.ToText(), R"([null,null,"z"])");
  json.RemoveItem(0);
  EXPECT_EQ(json.ToText(), R"([null,"z"])");

  ASSERT_TRUE(json.Parse(R"({"list":[1,2,3]})"));
  json.RemoveAt("list[1]");
  EXPECT_EQ(json.ToText(), R"({"list":[1,3]})");
  EXPECT_EQ(json.GetText("list"), "1,3");
}

TEST(JsonObjectTest, CopiesShareOneDocumentUntilParse) {
  JsonObject first;
  JsonObject second = first;
  first.SetText("a", "1");
  EXPECT_EQ(second.GetText("a"), "1");
  ASSERT_TRUE(second.Parse(R"({"b":2})"));  // a fresh document for `second` alone
  EXPECT_EQ(first.ToText(), R"({"a":"1"})");
  EXPECT_EQ(second.ToText(), R"({"b":2})");
}

TEST(JsonObjectTest, GetObjectCopies) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"inner":{"x":1}})"));
  JsonObject inner = json.GetObject("inner");
  inner.SetText("x", "changed");
  EXPECT_EQ(json.GetText("inner.x"), "1");
  EXPECT_EQ(json.GetObject("absent").TypeOf(), kJsonNull);
}

TEST(JsonObjectTest, Utf8AnswersAndDeepNesting) {
  JsonObject json;
  EXPECT_TRUE(json.ParseUtf8("{\"t\":\"\xE4\xBA\xBA\"}"));
  EXPECT_EQ(json.GetText("t"), Gbk("人"));
  EXPECT_FALSE(json.ParseUtf8("{\"t\":\"\xFF\"}"));  // not UTF-8
  EXPECT_FALSE(json.Parse(std::string(100000, '[') + std::string(100000, ']')));
}

}  // namespace
}  // namespace qf
